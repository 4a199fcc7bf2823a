#pragma once

#include "fake/fake_desktop.h"
#include "engine/mbm_layout.h"

namespace tunebridge::fake {

using peers::MbmReadings;

// The sensor program's three shared-memory regions on the fake desktop.
void PublishMbm(FakeDesktop& desktop, const MbmReadings& readings);
void RemoveMbm(FakeDesktop& desktop);

} // namespace tunebridge::fake
