#pragma once
// What placing a block asks the user: the text of an operator, the condition with its three
// exit labels, the type of a connector. The editor's tool logic asks through this interface;
// the window answers with the real dialogs, tests answer from a script.
#include <QString>

namespace velmora {

namespace gsa {

// The exit labels are "0", "1", "нет перехода", or empty while none is chosen.
struct ConditionBlock {
  QString text;
  QString left, right, down;
};

class BlockAsker {
 public:
  virtual ~BlockAsker() = default;
  // `text` comes preset (empty for a new operator) and takes the answer; false: cancelled.
  virtual bool askOperator(bool userNaming, QString* text) = 0;
  // `block` comes preset and takes the answer; false: cancelled.
  virtual bool askCondition(ConditionBlock* block) = 0;
  // "D" (disjunctive) or "C" (conjunctive); false: cancelled.
  virtual bool askConnector(QString* type) = 0;
};

}  // namespace gsa

}  // namespace velmora
