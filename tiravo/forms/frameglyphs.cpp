#include "tiravo/forms/frameglyphs.h"

#include <QAction>

#include "common/icons/glyphs.h"
#include "common/icons/menuglyphs.h"
#include "tiravo/forms/mainform.h"

namespace tiravo {

using glyphs::Glyph;

void setFrameGlyphs(TMainForm& f) {
  f.setWindowIcon(glyphs::programIcon(glyphs::Program::Tiravo));
  const struct {
    QAction* action;
    Glyph glyph;
  } table[] = {
      {f.OpenBtn, Glyph::Open},       {f.SaveBtn, Glyph::Save},     {f.NewSkuBtn, Glyph::NewSku},
      {f.NewRvasBtn, Glyph::NewRvas}, {f.NewLsaBtn, Glyph::NewLsa}, {f.NewTblBtn, Glyph::NewTable},
      {f.NewGsaBtn, Glyph::NewGsa},   {f.CutBtn, Glyph::Cut},       {f.CopyBtn, Glyph::Copy},
      {f.PasteBtn, Glyph::Paste},     {f.DeleteBtn, Glyph::Delete}, {f.ExitBtn, Glyph::Exit},
      {f.AboutBtn, Glyph::About},
  };
  for (const auto& t : table) t.action->setIcon(glyphs::icon(t.glyph));
}

void setMenuGlyphs(TMainForm& f) {
  glyphs::decorateMenus(f.menuBarMenus(), {{"СКУ", Glyph::NewSku},
                                           {"РВАС", Glyph::NewRvas},
                                           {"ЛСА", Glyph::NewLsa},
                                           {"Создать таблицу", Glyph::NewTable},
                                           {"&Открыть...", Glyph::Open},
                                           {"&Сохранить", Glyph::Save},
                                           {"В&ыход", Glyph::Exit},
                                           {"&Вырезать", Glyph::Cut},
                                           {"&Копировать", Glyph::Copy},
                                           {"Вст&авить", Glyph::Paste},
                                           {"&Удалить", Glyph::Delete},
                                           {"&О программе...", Glyph::About},
                                           // the table window's rows
                                           {"Вставить строку", Glyph::InsertRow},
                                           {"Добавить строку", Glyph::AddRow},
                                           {"Удалить строкку", Glyph::DeleteRow},
                                           // the simulators' input sequences and steps
                                           {"Загрузить входные сигналы...", Glyph::Open},
                                           {"Сохранить входные сигналы...", Glyph::Save},
                                           {"Сохранить историю переходов...", Glyph::Save},
                                           {"Закрыть панель", Glyph::Close},
                                           {"Исходное событие...", Glyph::InitialEvent},
                                           {"Исходное состояние...", Glyph::InitialEvent},
                                           {"Добавить сигнал...", Glyph::AddSignal},
                                           {"Вставить сигнал...", Glyph::InsertSignal},
                                           {"Изменить...", Glyph::EditSignal},
                                           {"Удалить текущий", Glyph::DeleteSignal},
                                           {"Удалить последний", Glyph::RemoveLast},
                                           {"Шаг вперёд", Glyph::Step},
                                           {"Шаг назад", Glyph::StepBack},
                                           {"Задать...", Glyph::SetInput}});
}

}  // namespace tiravo
