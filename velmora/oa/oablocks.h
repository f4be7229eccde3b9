#pragma once
// Names in the block list of an operational automaton, as the model windows read them.
#include <QString>
#include <QStringList>

namespace velmora {

namespace oa {

// The name of a block line: the text before the first "[" (the whole line without one).
QString blockName(const QString& line);
// A heading line of the list ("mux", "mux:", "register", "reg", "reg:"; exact).
bool isHeading(const QString& name);

}  // namespace oa

}  // namespace velmora
