// Any text as a stored setting of the frame, the first byte choosing which: the option
// string, the window's State or the tool bars' Panels. Whatever is read builds a text that
// reads back to the same values, so a damaged setting never grows worse.
#include <cstdint>
#include <cstdlib>

#include "velmora/frameapi/framesettings.h"
#include "velmora/frameapi/optionsstring.h"

using namespace velmora;

namespace {

void Check(bool ok) {
  if (!ok) std::abort();
}

void Options(const QString& text) {
  const QStringList fields = optstr::split(text);
  Check(fields.size() == optstr::FieldCount);
  for (const QString& f : fields) Check(!f.contains(QLatin1Char('&')));
  const OptionValues v = optstr::parse(text);
  Check(v.letters.size() == 5 && !v.fontSize.isEmpty() && optstr::IsNumber(v.fontSize));
  Check(v.triggerType >= 0 && v.triggerType <= 3);
  const QString built = optstr::build(v);
  Check(built.count(QLatin1Char('&')) == optstr::FieldCount - 1);
  Check(optstr::parse(built) == v && optstr::build(optstr::parse(built)) == built);
}

void State(const QString& text) {
  const framesettings::StateValues s = framesettings::parseState(text);
  if (s.maximized) {
    Check(text == QLatin1String("max"));
    return;
  }
  for (const auto& v : s.values)
    if (!v) return;
  const QString built =
      framesettings::buildState(false, *s.values[0], *s.values[1], *s.values[2], *s.values[3]);
  const framesettings::StateValues again = framesettings::parseState(built);
  Check(!again.maximized && again.values == s.values);
}

void Panels(const QString& text) {
  const framesettings::PanelValues p = framesettings::parsePanels(text);
  if (!p.hasFlags) {
    Check(text.size() <= framesettings::BarCount);
    return;
  }
  std::array<int, framesettings::PositionCount> positions{};
  for (int k = 0; k < framesettings::PositionCount; ++k) {
    Check(!p.positions[size_t(k)] || *p.positions[size_t(k)] >= 0);  // digits only
    positions[size_t(k)] = p.positions[size_t(k)].value_or(0);
  }
  const framesettings::PanelValues again =
      framesettings::parsePanels(framesettings::buildPanels(p.autoShow, p.visible, positions));
  Check(again.hasFlags && again.autoShow == p.autoShow && again.visible == p.visible);
  for (int k = 0; k < framesettings::PositionCount; ++k)
    Check(again.positions[size_t(k)] == positions[size_t(k)]);
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  if (size == 0) return 0;
  const QString text = QString::fromUtf8(reinterpret_cast<const char*>(data + 1), qsizetype(size - 1));
  switch (data[0] % 3) {
    case 0: Options(text); break;
    case 1: State(text); break;
    default: Panels(text); break;
  }
  return 0;
}
