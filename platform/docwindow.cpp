#include "platform/docwindow.h"

#include <QAbstractScrollArea>
#include <QAction>
#include <QApplication>
#include <QClipboard>
#include <QCloseEvent>
#include <QFileInfo>
#include <QMdiArea>
#include <QPointer>
#include <QMdiSubWindow>
#include <QMenu>
#include <QMimeData>

#include "platform/dialogs.h"
#include "platform/guard.h"

namespace docwin {

QAction* addItem(QWidget* window, QMenu* menu, const QString& text, const QKeySequence& key,
                 std::function<void()> command) {
  QAction* a = menu->addAction(text);
  if (!key.isEmpty()) {
    a->setShortcut(key);
    a->setShortcutContext(Qt::WidgetWithChildrenShortcut);
    window->addAction(a);
  }
  QObject::connect(a, &QAction::triggered, window, [window, command] { guard::run(window, command); });
  return a;
}

QString withKeyText(const QString& text, const char* key) {
  return text + QLatin1Char('\t') + QLatin1String(key);
}

void attachPopup(QWidget* window, QAbstractScrollArea* editor, QMenu* popup) {
  editor->setContextMenuPolicy(Qt::CustomContextMenu);
  QObject::connect(editor, &QWidget::customContextMenuRequested, window,
                   [editor, popup](const QPoint& p) { popup->popup(editor->viewport()->mapToGlobal(p)); });
}

void onClipboardChange(QWidget* window, const std::function<void()>& changed) {
  QObject::connect(QApplication::clipboard(), &QClipboard::dataChanged, window, changed);
}

Qt::Alignment AlignItems::choose(QAction* chosen) const {
  for (QAction* a : {left, right, center}) a->setChecked(a == chosen);
  if (chosen == right) return Qt::AlignRight | Qt::AlignAbsolute;
  if (chosen == center) return Qt::AlignHCenter;
  return Qt::AlignLeft | Qt::AlignAbsolute;
}

AlignItems addAlignItems(QWidget* window, QMenu* format, const std::function<void(QAction*)>& chosen) {
  AlignItems items;
  QAction** targets[] = {&items.left, &items.right, &items.center};
  const QString texts[] = {QStringLiteral("По &левому краю"), QStringLiteral("По &правому краю"),
                           QStringLiteral("По &центру")};
  for (int i = 0; i < 3; ++i) {
    QAction* a = format->addAction(texts[i]);
    a->setCheckable(true);
    // The item passes itself, so one handler serves all three.
    QObject::connect(a, &QAction::triggered, window,
                     [window, chosen, a] { guard::run(window, [&] { chosen(a); }); });
    *targets[i] = a;
  }
  items.left->setChecked(true);
  return items;
}

int pointSize(const QFont& font) {
  if (font.pointSize() > 0) return font.pointSize();
  return qRound(font.pixelSize() * 72.0 / 96.0);
}

void setPointSize(QWidget* editor, int size) {
  QFont f = editor->font();
  f.setPointSize(size);
  editor->setFont(f);
}

QString directoryOf(const QString& path) {
  const QFileInfo fi(path);
  return fi.isAbsolute() ? fi.absolutePath() : QString();
}

QString extensionOf(const QString& path) {
  const QFileInfo fi(path);
  return fi.fileName().contains(QLatin1Char('.')) ? QLatin1Char('.') + fi.suffix() : QString();
}

QString askSavePath(QWidget* window, const QString& fileName, const QString& filter, const QString& ext,
                    const QString& startDir, const QString& title) {
  const bool untitled = fileName == QLatin1String("Untitled");
  const QString name = untitled ? QString() : QFileInfo(fileName).fileName();
  QString dir = directoryOf(fileName);
  if (dir.isEmpty()) dir = startDir;
  const QString path = dlg::saveFile(window, filter, dir, name, title);
  if (path.isEmpty()) return path;
  // The dialog adds the default extension to a name typed without one.
  return QFileInfo(path).suffix().isEmpty() ? path + QLatin1Char('.') + ext : path;
}

bool saveAs(QWidget* window, QString* fileName, const QString& filter, const QString& ext,
            const QString& startDir, const std::function<bool()>& save) {
  const QString path = askSavePath(window, *fileName, filter, ext, startDir);
  if (path.isEmpty()) return false;
  *fileName = path;
  window->setWindowTitle(QFileInfo(path).fileName());
  return save();
}

void handleClose(QWidget* window, QCloseEvent* event, const std::function<bool()>& query,
                 const std::function<void()>& closed) {
  bool allow = false;
  guard::run(window, [&] { allow = query(); });
  if (!allow) {
    event->ignore();
    return;
  }
  closed();
  event->accept();
}

void closeWindow(QWidget* window) {
  if (auto* sub = qobject_cast<QMdiSubWindow*>(window->parentWidget()))
    sub->close();
  else
    window->close();
}

bool clipboardHasText() {
  const QMimeData* md = QApplication::clipboard()->mimeData();
  return md && md->hasText();
}

int stepPointSize(QWidget* editor, int step) {
  const int size = pointSize(editor->font());
  if (step > 0 ? size < 72 : size > 6) setPointSize(editor, size + step);
  return pointSize(editor->font());
}

bool askToSave(QWidget* window, bool modified, const QString& question, const std::function<bool()>& save) {
  if (!modified) return true;
  const int answer = dlg::message(window, question, QStringLiteral("Подтверждение"),
                                  dlg::Yes | dlg::No | dlg::Cancel, dlg::Question);
  if (answer == dlg::Cancel) return false;
  if (answer == dlg::Yes) return save();
  return true;
}

namespace {
QList<QPointer<QMdiSubWindow>> childWindows(QMdiArea* area) {
  QList<QPointer<QMdiSubWindow>> subs;
  for (QMdiSubWindow* s : area->subWindowList(QMdiArea::CreationOrder)) subs << s;
  return subs;
}

// Takes the close event of a child that has already been asked: it closes at once.
class AskedClose final : public QObject {
 public:
  explicit AskedClose(const std::function<void(QWidget*)>& closed) : closed_(closed) {}
  bool eventFilter(QObject* watched, QEvent* event) override {
    if (event->type() != QEvent::Close || !watched->isWidgetType()) return false;
    closed_(static_cast<QWidget*>(watched));
    event->accept();
    return true;
  }

 private:
  const std::function<void(QWidget*)>& closed_;
};
}  // namespace

bool askEveryChild(QMdiArea* area, const std::function<bool(QWidget* child)>& query) {
  for (const QPointer<QMdiSubWindow>& s : childWindows(area)) {
    if (s && s->widget() && !query(s->widget())) return false;
  }
  return true;
}

bool closeEveryChild(QMdiArea* area, const std::function<void(QWidget* child)>& closed) {
  AskedClose filter(closed);
  const QList<QPointer<QMdiSubWindow>> subs = childWindows(area);
  for (const QPointer<QMdiSubWindow>& s : subs)
    if (s && s->widget()) s->widget()->installEventFilter(&filter);
  for (const QPointer<QMdiSubWindow>& s : subs)
    if (s) s->close();
  for (const QPointer<QMdiSubWindow>& s : subs)
    if (s && s->widget()) s->widget()->removeEventFilter(&filter);
  return area->subWindowList().isEmpty();
}

}  // namespace docwin
