#include "tiravo/core/ftttree.h"

namespace ftt_tree {
Link::Link() = default;
Link::~Link() = default;
}  // namespace ftt_tree

namespace {
int Side(int literal) { return literal > 0 ? 1 : 0; }
int Magnitude(int literal) { return literal < 0 ? -literal : literal; }
}  // namespace

Tree::Tree(const FTT& model, const USignalSet& events) : model_(model) {
  const std::vector<LTT_Line> pairs = model.MatchPairs(events);
  for (const LTT_Line& pair : pairs) {
    if (pair.Condition.IsEmpty()) {
      root_.targets.Union(pair.Targets);
      continue;
    }
    c_ = &pair.Condition;
    t_ = &pair.Targets;
    if (!root_.child) root_.child = std::make_unique<Node>(Magnitude(c_->At(0)), &root_);
    PlaceLiteral(root_.child.get(), 0);
  }
  c_ = nullptr;
  t_ = nullptr;
}

void Tree::PlaceLiteral(Node* node, unsigned p) {
  const int b = c_->At(p);
  const int v = Magnitude(b);
  if (v < node->v) {
    InsertAbove(node, b, p + 1);
  } else if (v == node->v) {
    if (p + 1 < c_->Size())
      Descend(node, Side(b), p + 1);
    else
      AddTargets(node, Side(b), *t_);
  } else {
    // The node tests a signal this condition leaves open: both branches.
    Descend(node, 0, p);
    Descend(node, 1, p);
  }
}

void Tree::Descend(Node* node, int k, unsigned p) {
  Link& link = node->links[k];
  if (!link.child) {
    link.child = std::make_unique<Node>(Magnitude(c_->At(p)), &link);
    if (!link.targets.IsEmpty()) {
      USignalSet pushed = std::move(link.targets);
      link.targets.Clear();
      AddTargets(node, k, pushed);
    }
  }
  PlaceLiteral(link.child.get(), p);
}

void Tree::InsertAbove(Node* node, int b, unsigned p1) {
  Link* holder = node->parent;
  auto inserted = std::make_unique<Node>(Magnitude(b), holder);
  Node* n = inserted.get();
  n->links[1].child = CopySubtree(*node, &n->links[1]);
  std::unique_ptr<Node> old = std::move(holder->child);
  old->parent = &n->links[0];
  n->links[0].child = std::move(old);
  holder->child = std::move(inserted);
  if (p1 < c_->Size())
    PlaceLiteral(n->links[Side(b)].child.get(), p1);
  else
    AddTargets(n, Side(b), *t_);
}

void Tree::AddTargets(Node* node, int k, const USignalSet& s) {
  Link& link = node->links[k];
  if (!link.child) {
    link.targets.Union(s);
    return;
  }
  AddTargets(link.child.get(), 0, s);
  AddTargets(link.child.get(), 1, s);
}

std::unique_ptr<Tree::Node> Tree::CopySubtree(const Node& node, Link* holder) {
  auto copy = std::make_unique<Node>(node.v, holder);
  for (int k = 0; k < 2; ++k) {
    copy->links[k].targets = node.links[k].targets;
    if (node.links[k].child) copy->links[k].child = CopySubtree(*node.links[k].child, &copy->links[k]);
  }
  return copy;
}

std::vector<XSY> Tree::GetXSY() {
  std::vector<XSY> groups;
  const USignalSet& u = root_.targets;
  if (!root_.child) {
    if (!u.IsEmpty()) groups.push_back(XSY{SSignalSet(), u, model_.Outputs(u)});
    return groups;
  }
  if (!u.IsEmpty()) {
    AddTargets(root_.child.get(), 0, u);
    AddTargets(root_.child.get(), 1, u);
  }
  Visit(root_.child.get(), SSignalSet(), groups);
  return groups;
}

void Tree::Visit(const Node* node, const SSignalSet& prefix, std::vector<XSY>& groups) const {
  for (int k = 0; k < 2; ++k) {
    SSignalSet path = prefix;
    path.AddLiteral(k == 0 ? -node->v : node->v);
    const Link& link = node->links[k];
    if (link.child)
      Visit(link.child.get(), path, groups);
    else
      groups.push_back(XSY{std::move(path), link.targets, model_.Outputs(link.targets)});
  }
}
