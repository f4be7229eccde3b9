#pragma once
// Printing a text document so that the page looks like the screen, whatever the printer's
// resolution: the document is laid out as the screen shows it (fonts given in pixels, tab
// stops and margins in screen pixels) and the page is scaled to the printer.
class QPrinter;
class QTextDocument;

namespace textprint {

// Prints a copy of `doc`; lines wrap at the page's printable width.
void printAsShown(const QTextDocument& doc, QPrinter* printer);

}  // namespace textprint
