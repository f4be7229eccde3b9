#pragma once
// The images of the tool buttons and menu commands of both programs, and the programs' own
// icons. Every glyph is drawn here with QPainter for each size it is asked for (16, 22, 24,
// 32, 48 px, each at device pixel ratio 1 and 2), so it stays crisp without any icon theme or
// image file; disabled buttons are greyed by Qt. Standard commands first ask the desktop's
// icon theme under their freedesktop name and fall back to our drawing.
#include <QIcon>
#include <QImage>
#include <functional>

class QPainter;
class QRectF;

namespace glyphs {

enum class Glyph {
  // standard commands (they carry a freedesktop name)
  Open,
  Save,
  Cut,
  Copy,
  Paste,
  Delete,
  Exit,
  About,
  Close,
  Play,
  Pause,
  Stop,
  Step,
  StepBack,
  Up,
  Down,
  MoveLeft,
  MoveRight,
  // documents
  NewRvas,
  NewSku,
  NewLsa,
  NewGsa,
  NewTable,
  NewText,
  // translation and the table
  Check,
  ToSku,
  ToTable,
  AddRow,
  InsertRow,
  DeleteRow,
  OaCall,
  Report,
  // models
  InitialEvent,
  Bus,
  Binary,
  Hexadecimal,
  Decimal,
  // input sequences of the simulators, determinization
  EditSignal,
  InsertSignal,
  DeleteSignal,
  AddSignal,
  RemoveLast,
  DeadEnd,
  TableVertical,
  TableHorizontal,
  SetInput,
  Determinize,
  Count
};

// The desktop theme's icon of that name when there is one, else our own drawing.
QIcon icon(Glyph g);
// Our own drawing, never the theme's.
QIcon own(Glyph g);

// Draws one square image into the given rectangle (device pixels); the painter is clean.
using Drawing = std::function<void(QPainter& painter, const QRectF& square)>;
// An icon holding the drawing made at every size a tool bar or menu asks for.
QIcon painted(const Drawing& draw);

// The programs' own icons (frame, children, about box, desktop entry).
enum class Program { Velmora, Tiravo };
QIcon programIcon(Program program);
QImage programImage(Program program, int size);

}  // namespace glyphs
