#include "app/main_form.h"
namespace tunebridge {
MainForm::MainForm(Desktop& desktop, SharedState& state) : desktop_(desktop), state_(state) {}
bool MainForm::Load(Hwnd self) { self_ = self; return true; }
void MainForm::Unload() {}
void MainForm::Tick(TimerId) {}
void MainForm::Click(ButtonId) {}
void MainForm::Playlist() {}
void MainForm::RunTick(TimerId) {}
}  // namespace tunebridge
