#pragma once
// How the frame makes document windows. Each creator adds its window to `frame` (which
// records it as the last window of its class) and returns it; nullptr when nothing was
// opened (cancelled, or the file was refused with a message).
#include <QString>

namespace velmora {

class TDocChild;
class TFrame;

TDocChild* createTextWindow(TFrame* frame, const QString& path);            // empty path: a new window
TDocChild* createEditWindow(TFrame* frame, int kind, const QString& path);  // kind 0 РВАС, 1 СКУ
TDocChild* createTableWindow(TFrame* frame, const QString& path);
TDocChild* createGsaWindow(TFrame* frame, const QString& path);

}  // namespace velmora
