#pragma once
// Binary decision tree over the input signals of the transitions that leave
// one event set. Its leaves split the input space into disjoint conditions,
// each with the union of the targets of every transition it satisfies.
#include <memory>
#include <vector>

#include "tiravo/core/ftt.h"

namespace ftt_tree {

struct Node;

struct Link {
  std::unique_ptr<Node> child;  // null at a leaf
  USignalSet targets;           // meaningful at a leaf
  Link();
  ~Link();
};

struct Node {
  int v;          // the input signal tested, positive
  Link links[2];  // 0: signal v is 0, 1: signal v is 1
  Link* parent;   // the link that holds this node
  Node(int signal, Link* holder) : v(signal), parent(holder) {}
};

}  // namespace ftt_tree

class Tree {
 public:
  // The tree of the transitions that `model.MatchPairs(events)` gives.
  Tree(const FTT& model, const USignalSet& events);
  Tree(const Tree&) = delete;
  Tree& operator=(const Tree&) = delete;

  // The leaves as groups, depth first, the 0 branch first. Empty when the
  // matched lines have no transitions.
  std::vector<XSY> GetXSY();

  const ftt_tree::Node* Root() const { return root_.child.get(); }

 private:
  using Node = ftt_tree::Node;
  using Link = ftt_tree::Link;

  void PlaceLiteral(Node* node, unsigned p);
  void Descend(Node* node, int k, unsigned p);
  void InsertAbove(Node* node, int b, unsigned p1);
  static void AddTargets(Node* node, int k, const USignalSet& s);
  static std::unique_ptr<Node> CopySubtree(const Node& node, Link* holder);
  void Visit(const Node* node, const SSignalSet& prefix, std::vector<XSY>& groups) const;

  const FTT& model_;
  Link root_;  // root_.targets: targets of the unconditional transitions
  // The transition being placed.
  const SSignalSet* c_ = nullptr;
  const USignalSet* t_ = nullptr;
};
