#include "fake/fake_mbm.h"

namespace tunebridge::fake {

void PublishMbm(FakeDesktop& desktop, const MbmReadings& readings) {
    desktop.SetSharedMemory(peers::kMbmDataRegion, peers::MbmDataRegion(readings));
    desktop.SetSharedMemory(peers::kMbmNamesRegion, peers::MbmNamesRegion(readings));
    desktop.SetSharedMemory(peers::kMbmInfoRegion, peers::MbmInfoRegion(readings));
}

void RemoveMbm(FakeDesktop& desktop) {
    desktop.RemoveSharedMemory(peers::kMbmDataRegion);
    desktop.RemoveSharedMemory(peers::kMbmNamesRegion);
    desktop.RemoveSharedMemory(peers::kMbmInfoRegion);
}

}  // namespace tunebridge::fake
