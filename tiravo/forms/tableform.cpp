#include "tiravo/forms/tableform.h"

#include <QAction>
#include <QCloseEvent>
#include <QHeaderView>
#include <QMenu>
#include <QRadioButton>
#include <QTableWidget>
#include <QVBoxLayout>

#include "platform/docwindow.h"
#include "tiravo/core/ftt.h"
#include "tiravo/forms/mainform.h"

namespace tiravo {

TVexoTableForm::TVexoTableForm(QWidget* parent) : TChildForm(parent) {
  setAttribute(Qt::WA_DeleteOnClose);
  setWindowTitle(QStringLiteral("Untitled - таблица"));
  auto* layout = new QVBoxLayout(this);
  AbstrButton = new QRadioButton(QStringLiteral("Абстрактные сигналы"), this);
  BinButton = new QRadioButton(QStringLiteral("Двоичные сигналы"), this);
  BinButton->setChecked(true);
  Grid = new QTableWidget(1, 4, this);
  layout->addWidget(AbstrButton);
  layout->addWidget(BinButton);
  layout->addWidget(Grid);
}

TVexoTableForm::~TVexoTableForm() = default;

QList<QMenu*> TVexoTableForm::menus() const { return menus_; }
bool TVexoTableForm::Open(const QString&) { return true; }
bool TVexoTableForm::Save1Click() { return true; }
bool TVexoTableForm::Saveas1Click() { return true; }
TableData TVexoTableForm::tableData() const { return {}; }
void TVexoTableForm::setTableData(const TableData&) {}
void TVexoTableForm::setSignalCoding(int coding) { signalCoding = coding; }
int TVexoTableForm::rowCount() const { return Grid->rowCount() + 1; }
QString TVexoTableForm::cell(int, int) const { return {}; }
void TVexoTableForm::setCell(int, int, const QString&) {}
int TVexoTableForm::gridFontSize() const { return 10; }
void TVexoTableForm::setFontSize(int) {}
void TVexoTableForm::FormActivate() { ActiveChildKind = 5; }
bool TVexoTableForm::FormCloseQuery() { return true; }
void TVexoTableForm::GridSelectCell(int, int) {}
void TVexoTableForm::GridKeyPress() {}
void TVexoTableForm::Insert1Click() {}
void TVexoTableForm::New2Click() {}
void TVexoTableForm::Del1Click() {}
void TVexoTableForm::Font1Click() {}
void TVexoTableForm::Font2Click() {}
void TVexoTableForm::Cut1Click() {}
void TVexoTableForm::Copy1Click() {}
void TVexoTableForm::Paste1Click() {}
void TVexoTableForm::Delete1Click() {}
void TVexoTableForm::StandartClick() {}
void TVexoTableForm::miSimStepClick() {}
void TVexoTableForm::miDetermClick() {}
void TVexoTableForm::SkuClick() {}
void TVexoTableForm::miToBrouserClick() {}
FTT* TVexoTableForm::compile() { return nullptr; }
QAction* TVexoTableForm::menuAction(const QString&) const { return nullptr; }
void TVexoTableForm::closeEvent(QCloseEvent* e) { e->accept(); }
bool TVexoTableForm::eventFilter(QObject* w, QEvent* e) { return TChildForm::eventFilter(w, e); }

}  // namespace tiravo
