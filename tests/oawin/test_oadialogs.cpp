// The signal selection and bus setting dialogs.
#include <QLineEdit>
#include <QTableWidget>
#include <QTest>

#include "oawinhelpers.h"
#include "velmora/oa/bussetform.h"
#include "velmora/oa/oaerrors.h"
#include "velmora/oa/oastep.h"

using namespace velmora;

using namespace oawt;

namespace {

void select(QListWidget* list, const QString& name) {
  list->setCurrentItem(list->findItems(name, Qt::MatchExactly).value(0));
}

}  // namespace

TEST_F(OaWindows, SignalDialogIsMadeAtStartUpAndMovesSignalsInOrder) {
  ASSERT_NE(YSelectForm, nullptr);
  TYSelectForm& f = *YSelectForm;
  EXPECT_EQ(f.size(), QSize(272, 188));
  f.setSignals({"y3", "y1", "y2"}, {});
  EXPECT_EQ(f.passive(), QStringList({"y1", "y2", "y3"}));
  select(f.PassivY, "y3");
  f.yToActiv->click();
  select(f.PassivY, "y1");
  f.yToActiv->click();
  EXPECT_EQ(f.active(), QStringList({"y3", "y1"}));
  EXPECT_EQ(f.activeText(), "y3&y1");
  select(f.ActivY, "y3");
  f.yToPassiv->click();
  EXPECT_EQ(f.passive(), QStringList({"y2", "y3"}));
  EXPECT_EQ(f.active(), QStringList({"y1"}));
  // Nothing selected: nothing moves.
  f.yToActiv->click();
  f.yToPassiv->click();
  EXPECT_EQ(f.passive(), QStringList({"y2", "y3"}));
  EXPECT_EQ(f.active(), QStringList({"y1"}));
  f.yAllActiv->click();
  EXPECT_EQ(f.active(), QStringList({"y1", "y2", "y3"}));
  f.yAllActiv->click();  // an empty passive list
  EXPECT_EQ(f.active(), QStringList({"y1", "y2", "y3"}));
  select(f.ActivY, "y2");
  f.ActivYDblClick();
  f.yAllPassiv->click();
  EXPECT_EQ(f.passive(), QStringList({"y1", "y2", "y3"}));
  EXPECT_TRUE(f.active().isEmpty());
}

TEST_F(OaWindows, EnterInABusValueClosesTheDialogWithOk) {
  TBusSetForm f(frame);
  EXPECT_EQ(BusSetForm.data(), &f);
  EXPECT_EQ(f.rowCount(), 2);
  EXPECT_EQ(f.cell(0, 0), "Шина");
  EXPECT_EQ(f.cell(1, 0), "Значение");
  f.addBus("DI1", "0");
  f.addBus("DI2", "5");
  EXPECT_EQ(f.rowCount(), 3);
  EXPECT_FALSE(f.BusSetGrid->item(0, 0)->flags() & Qt::ItemIsEditable) << "bus names are not typed";
  whenModal([&f](QWidget*) {
    f.BusSetGrid->setCurrentCell(0, 1);
    f.BusSetGrid->edit(f.BusSetGrid->currentIndex());
    auto* e = f.BusSetGrid->findChild<QLineEdit*>();
    ASSERT_NE(e, nullptr);
    e->selectAll();
    QTest::keyClicks(e, "300");
    QTest::keyClick(e, Qt::Key_Return);
  });
  EXPECT_EQ(f.exec(), QDialog::Accepted);
  EXPECT_EQ(f.buses(), (QList<TBusSetForm::Bus>{{"DI1", "300"}, {"DI2", "5"}}));
}

TEST(BusRows, UnknownNamesAndEmptyValuesAreSkippedAndABadValueChangesNothing) {
  const QStringList blocks{"reg:", "A[8]", "mux:", "DI1[8]", "DI2[4]"};
  const QStringList none;
  const QList<QStringList> items;
  TModelStep m(nullptr, blocks, none, none, items, none);
  m.Reset({}, {});
  TBusSetForm::applyTo(&m, {{"DI1", "300"}, {"Dx", "7"}, {"", "1"}, {"DI2", ""}});
  EXPECT_EQ(m.History().Values(0), "0&44&0&");
  EXPECT_THROW(TBusSetForm::applyTo(&m, {{"DI2", "3"}, {"DI1", "x"}}), EOaConvertError);
  EXPECT_EQ(m.History().Values(0), "0&44&0&");
  EXPECT_TRUE(TBusSetForm::isBusName("dI") && TBusSetForm::isBusName("Di7") && !TBusSetForm::isBusName("d") &&
              !TBusSetForm::isBusName("ID1"));
}
