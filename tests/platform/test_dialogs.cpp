#include <gtest/gtest.h>

#include <QApplication>
#include <stdexcept>

#include "platform/dialogs.h"
#include "platform/errors.h"
#include "platform/guard.h"

TEST(Dialogs, FilterConversion) {
  EXPECT_EQ(dlg::toQtFilter(QString::fromUtf8("Файл СКУ (*.sku)|*.sku|Все файлы|*.*")),
            QString::fromUtf8("Файл СКУ (*.sku);;Все файлы (*.*)"));
  EXPECT_EQ(dlg::toQtFilter("Prog|*.a;*.b"), QString("Prog (*.a *.b)"));
  // A description that already ends with its patterns names them once.
  EXPECT_EQ(dlg::toQtFilter(QString::fromUtf8("Файлы с входными сигналами: *.sgn|*.sgn|Все файлы: *.*|*.*")),
            QString::fromUtf8("Файлы с входными сигналами (*.sgn);;Все файлы (*.*)"));
}

TEST(Dialogs, ScriptAnswersAndRecords) {
  dlg::Script s;
  s.answers << dlg::No;
  EXPECT_EQ(dlg::message(nullptr, "q", "c", dlg::Yes | dlg::No | dlg::Cancel), dlg::No);
  EXPECT_EQ(dlg::message(nullptr, "q2", "c", dlg::Ok | dlg::Cancel), dlg::Ok);
  ASSERT_EQ(s.shown.size(), 2);
  EXPECT_EQ(s.shown[0].text, "q");
  EXPECT_TRUE(dlg::openFile(nullptr, "F|*.x").isEmpty());
  s.files << "/tmp/a.x";
  EXPECT_EQ(dlg::saveFile(nullptr, "F|*.x"), "/tmp/a.x");
}

TEST(Dialogs, ScriptAnswersInputQueries) {
  dlg::Script s;
  s.inputs << "12";
  QString value = "50";
  EXPECT_TRUE(dlg::inputQuery(nullptr, "c", "p", &value));
  EXPECT_EQ(value, "12");
  value = "7";
  EXPECT_FALSE(dlg::inputQuery(nullptr, "c2", "p2", &value));  // nothing scripted: cancelled
  EXPECT_EQ(value, "7");
  ASSERT_EQ(s.queries.size(), 2);
  EXPECT_EQ(s.queries[0].caption, "c");
  EXPECT_EQ(s.queries[0].prompt, "p");
  EXPECT_EQ(s.queries[0].offered, "50");
}

TEST(Guard, ExceptionBecomesMessage) {
  dlg::Script s;
  EXPECT_FALSE(guard::run(nullptr, [] { throw VexoError(QString::fromUtf8("Список пуст")); }));
  EXPECT_FALSE(guard::run(nullptr, [] { throw std::out_of_range("index"); }));
  EXPECT_TRUE(guard::run(nullptr, [] {}));
  ASSERT_EQ(s.shown.size(), 2);
  EXPECT_EQ(s.shown[0].text, QString::fromUtf8("Список пуст"));
  EXPECT_EQ(s.shown[0].caption, QString::fromUtf8("Ошибка"));
  EXPECT_EQ(s.shown[1].text, "index");
}

#include "platform/parseint.h"

TEST(ParseInt, LeadingNumber) {
  EXPECT_EQ(ParseInt("  +12pt"), 12);
  EXPECT_EQ(ParseInt("abc"), 0);
  EXPECT_EQ(ParseInt("-7x"), -7);
  EXPECT_EQ(ParseInt("12pt"), 12);
  EXPECT_EQ(ParseInt(""), 0);
  EXPECT_EQ(ParseInt("-"), 0);
}
