#pragma once
// The one frame that frame_main.cpp makes for the tests linked with it.
namespace velmora {
class TMainForm;
}
extern velmora::TMainForm* TestFrame;
