#pragma once
// The frame's window state and tool-bar layout as they are kept in the registry values
// "State" and "Panels". Plain text handling only; the frame applies the values.
//
// State:  "max", or height&width&left&top& (each value followed by '&').
// Panels: eight flags (auto display, then the bars file, edit, trans, tbl, model, reg, gsa),
//         then sixteen values each preceded by ',': left,top of the first six bars in that
//         order, then left,top,width,height of the gsa bar.
#include <QString>
#include <array>
#include <optional>

namespace velmora {

namespace framesettings {

extern const char* const RegistryKey;  // "SOFTWARE\Ostrel\Vexo\2.0"
constexpr int BarCount = 7;
constexpr int PositionCount = 16;

struct StateValues {
  bool maximized = false;
  // height, width, left, top; a value that is missing or not a number stays empty.
  std::array<std::optional<int>, 4> values;
};

struct PanelValues {
  bool hasFlags = false;  // false: the text was too short and is ignored whole
  bool autoShow = true;
  std::array<bool, BarCount> visible{};
  // A value that is not digits only (a sign, a blank, garbage) stays empty but keeps its place.
  std::array<std::optional<int>, PositionCount> positions;
};

StateValues parseState(const QString& state);
QString buildState(bool maximized, int height, int width, int left, int top);

PanelValues parsePanels(const QString& panels);
QString buildPanels(bool autoShow, const std::array<bool, BarCount>& visible,
                    const std::array<int, PositionCount>& positions);

// The help file beside the start directory: one separator between directory and name.
QString helpFileFor(const QString& rootDir);

}  // namespace framesettings

}  // namespace velmora
