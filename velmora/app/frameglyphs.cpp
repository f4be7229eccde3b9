#include "velmora/app/frameglyphs.h"

#include <QAction>

#include "common/icons/glyphs.h"
#include "common/icons/menuglyphs.h"
#include "velmora/app/mainform.h"
#include "velmora/flowchart/tools/toolglyph.h"

namespace velmora {

using glyphs::Glyph;

void setFrameGlyphs(TMainForm& frame) {
  frame.setWindowIcon(glyphs::programIcon(glyphs::Program::Velmora));
  const TFrameUi& f = frame.ui();
  const struct {
    QAction* action;
    Glyph glyph;
  } table[] = {
      {f.openFileAction, Glyph::Open},
      {f.saveFileAction, Glyph::Save},
      {f.newRvasAction, Glyph::NewRvas},
      {f.newSkuAction, Glyph::NewSku},
      {f.newGsaAction, Glyph::NewGsa},
      {f.newTblAction, Glyph::NewTable},
      {f.newTxtAction, Glyph::NewText},
      {f.exitAction, Glyph::Exit},
      {f.EditCutAction, Glyph::Cut},
      {f.EditCopyAction, Glyph::Copy},
      {f.EditPasteAction, Glyph::Paste},
      {f.EditDelAction, Glyph::Delete},
      {f.CompileAction, Glyph::Check},
      {f.ToSkuAction, Glyph::ToSku},
      {f.ToTblAction, Glyph::ToTable},
      {f.AddStrAction, Glyph::AddRow},
      {f.InsStrAction, Glyph::InsertRow},
      {f.DelStrAction, Glyph::DeleteRow},
      {f.OaCallAction, Glyph::OaCall},
      {f.ReportAction, Glyph::Report},
      {f.ModelOpenAction, Glyph::Open},
      {f.ModelSaveAction, Glyph::Save},
      {f.ModelBegAction, Glyph::InitialEvent},
      {f.ModelBusAction, Glyph::Bus},
      {f.ModelStepAction, Glyph::Step},
      {f.ModelPauseAction, Glyph::Pause},
      {f.ModelPlayAction, Glyph::Play},
      {f.ModelStopAction, Glyph::Stop},
      {f.BinAction, Glyph::Binary},
      {f.HexAction, Glyph::Hexadecimal},
      {f.DecAction, Glyph::Decimal},
  };
  for (const auto& t : table) t.action->setIcon(glyphs::icon(t.glyph));
  // The flowchart tools, in tool-bar order, show what they place.
  for (int i = 0; i < f.gsaActions.size(); ++i) f.gsaActions[i]->setIcon(gsa::toolIcon(GsaTool(i)));
}

void setMenuGlyphs(TMainForm& f) {
  glyphs::decorateMenus(f.menuBarMenus(), {{"&Открыть...", Glyph::Open},
                                           {"&Сохранить", Glyph::Save},
                                           {"&РВАС", Glyph::NewRvas},
                                           {"&СКУ", Glyph::NewSku},
                                           {"&ГСА", Glyph::NewGsa},
                                           {"Таблицу &переходов", Glyph::NewTable},
                                           {"&Текстовый файл", Glyph::NewText},
                                           {"В&ыход", Glyph::Exit},
                                           {"&Вырезать", Glyph::Cut},
                                           {"&Копировать", Glyph::Copy},
                                           {"Вст&авить", Glyph::Paste},
                                           {"&Удалить", Glyph::Delete},
                                           {"&Проверка", Glyph::Check},
                                           {"Перевод в &СКУ", Glyph::ToSku},
                                           {"Перевод в &Таблицу переходов", Glyph::ToTable},
                                           {"Перевод в Таблицу &переходов", Glyph::ToTable},
                                           {"&Добавить строку", Glyph::AddRow},
                                           {"&Вставить строку", Glyph::InsertRow},
                                           {"&Удалить строку", Glyph::DeleteRow},
                                           {"&Вызов ОА", Glyph::OaCall},
                                           {"От&чет", Glyph::Report},
                                           {"Установить &шины", Glyph::Bus}});
}

}  // namespace velmora
