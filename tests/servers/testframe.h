#pragma once
// The one frame that frame_main.cpp makes for the tests linked with it.
class TMainForm;
extern TMainForm* TestFrame;
