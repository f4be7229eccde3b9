#include "velmora/app/mainform.h"

#include <QAction>
#include <QDir>
#include <QScreen>
#include <QToolBar>
#include <algorithm>
#include <array>
#include <climits>
#include <vector>

#include "mainform_p.h"
#include "platform/dialogs.h"
#include "platform/guard.h"
#include "platform/help.h"
#include "platform/registry.h"
#include "velmora/app/aboutbox.h"
#include "velmora/frameapi/framesettings.h"
#include "velmora/frameapi/optionsstring.h"

namespace velmora {

// The frame's layout and settings in the registry, and the help commands.

// ---------------------------------------------------------------- settings

void TMainForm::LoadSettings() {
  const QString startDir = QDir::currentPath();
  Registry reg(QString::fromLatin1(framesettings::RegistryKey));
  // The welcome waits until the start-up picture is gone (greetFirstStart).
  d_->welcomePending = !reg.openKey(false);
  Options = reg.readString(QStringLiteral("Options"));
  if (Options.isEmpty()) Options = optstr::defaultString();
  Panels = reg.readString(QStringLiteral("Panels"));
  RootDir = reg.readString(QStringLiteral("RootDir"));
  State = reg.readString(QStringLiteral("State"));
  reg.closeKey();
  if (!State.isEmpty()) RestoreLayout();
  if (startDir != RootDir) RootDir = startDir;
  d_->helpFile = framesettings::helpFileFor(RootDir);
}

void TMainForm::greetFirstStart() {
  if (!d_->welcomePending) return;
  d_->welcomePending = false;
  // The frame is not shown yet: the box centres over the place the maximized frame will take.
  const QRect normal = geometry();
  const Qt::WindowStates state = windowState();
  if (QScreen* sc = screen()) setGeometry(sc->availableGeometry());
  dlg::message(this, QStringLiteral("Добро пожаловать в Vexo!"), QStringLiteral("Сообщение"), dlg::Ok,
               dlg::Information);
  setGeometry(normal);
  setWindowState(state);
}

void TMainForm::RestoreLayout() {
  const framesettings::StateValues st = framesettings::parseState(State);
  if (st.maximized) {
    setWindowState(Qt::WindowMaximized);
  } else {
    // The frame still opens maximized; these are its size and place when it is not.
    setWindowState(Qt::WindowNoState);
    QSize size = this->size();
    QPoint at = pos();
    if (st.values[0]) size.setHeight(*st.values[0]);
    if (st.values[1]) size.setWidth(*st.values[1]);
    if (st.values[2]) at.setX(*st.values[2]);
    if (st.values[3]) at.setY(*st.values[3]);
    resize(size);
    move(at);
    setWindowState(Qt::WindowMaximized);
  }

  const framesettings::PanelValues p = framesettings::parsePanels(Panels);
  if (!p.hasFlags) return;
  autoShowItem->setChecked(p.autoShow);
  for (int j = 0; j < framesettings::BarCount; ++j) d_->bars[j]->setVisible(p.visible[j]);
  for (int k = 0; k < framesettings::PositionCount; ++k)
    if (p.positions[k]) d_->positions[k] = p.positions[k];
  applyBarPositions();
}

void TMainForm::applyBarPositions() {
  // Docked bars cannot stand anywhere: bars with the same top share a row, ordered by left.
  struct Place {
    int top, left, index;
  };
  std::vector<Place> places;
  for (int i = 0; i < 6; ++i) {
    const auto& l = d_->positions[2 * i];
    const auto& t = d_->positions[2 * i + 1];
    places.push_back({t ? *t : INT_MAX, l ? *l : INT_MAX, i});
  }
  std::stable_sort(places.begin(), places.end(), [](const Place& a, const Place& b) {
    return a.top != b.top ? a.top < b.top : a.left < b.left;
  });
  std::array<bool, 6> hidden{};
  for (int i = 0; i < 6; ++i) {
    hidden[i] = d_->bars[i]->isHidden();
    removeToolBarBreak(d_->bars[i]);
    removeToolBar(d_->bars[i]);
  }
  for (size_t n = 0; n < places.size(); ++n) {
    if (n > 0 && places[n].top != places[n - 1].top) addToolBarBreak(Qt::TopToolBarArea);
    QToolBar* b = d_->bars[places[n].index];
    addToolBar(Qt::TopToolBarArea, b);
    b->setVisible(!hidden[places[n].index]);
  }
  if (d_->positions[14] && d_->positions[15]) gsaToolBar->resize(*d_->positions[14], *d_->positions[15]);
}

void TMainForm::StoreLayout() {
  State = framesettings::buildState(isMaximized(), height(), width(), x(), y());
  std::array<bool, framesettings::BarCount> visible{};
  std::array<int, framesettings::PositionCount> pos{};
  for (int j = 0; j < framesettings::BarCount; ++j) {
    QToolBar* b = d_->bars[j];
    visible[j] = !b->isHidden();
    // A bar on screen tells where it stands; a hidden one keeps what was read or last seen.
    const bool seen = isVisible() && b->isVisible();
    const QRect g = b->geometry();
    const int values[4] = {g.x(), g.y(), g.width(), g.height()};
    const int count = j == 6 ? 4 : 2;
    for (int v = 0; v < count; ++v) {
      const int k = 2 * j + v;
      if (seen || !d_->positions[k]) d_->positions[k] = values[v];
      pos[k] = *d_->positions[k];
    }
  }
  Panels = framesettings::buildPanels(autoShow(), visible, pos);
}

void TMainForm::SaveSettings() {
  Registry reg(QString::fromLatin1(framesettings::RegistryKey));
  guard::run(this, [&] {
    if (!reg.openKey(true))
      dlg::message(this, QStringLiteral("Problem with key"), QStringLiteral("Сообщение"), dlg::Ok,
                   dlg::Warning);
    reg.writeString(QStringLiteral("Options"), Options);
    reg.writeString(QStringLiteral("Panels"), Panels);
    reg.writeString(QStringLiteral("RootDir"), RootDir);
    reg.writeString(QStringLiteral("State"), State);
  });
  reg.closeKey();
}

// ---------------------------------------------------------------- help

void TMainForm::ContentsClick() { help::show(this, d_->helpFile, help::Contents); }
void TMainForm::SearchforHelpOnClick() { help::show(this, d_->helpFile, help::PartialKey); }
void TMainForm::AboutClick() {
  TAboutBox box(this);
  box.exec();
}

void TMainForm::HowtouseClick() { help::show(this, d_->helpFile, help::HelpOnHelp); }

}  // namespace velmora
