#include "controls/FlowModel.h"

#include "container/PageBoundNames.h"
#include "controls/ZelvarC.h"
#include "lists/ZelvarL.h"
#include "platform/core/ClassCache.h"

namespace zelvar {

std::vector<std::string> FlowCheckLines(const std::string& form, const TFlowModel& model) {
  std::vector<std::string> lines;
  for (const TFlowFinding& f : CheckFlow(model)) lines.push_back(FlowFindingText(form, model, f));
  return lines;
}

TFlowModel FlowModelOf(const TZelvar& z, const TPageList* wayList) {
  TFlowModel m;
  m.NumPages = z.NumPages();
  m.StartPage = z.StartPage();
  m.WayList = wayList || z.WayListEnabled();
  for (int i = 0; i < z.PageNames()->Count(); ++i) m.PageNames.push_back(z.PageNames()->Get(i));
  if (m.WayList) {
    const TPageList& way = wayList ? *wayList : *z.WayList();
    const int32_t count = way.EntryCount();
    for (int32_t k = 0; k < count; ++k) {
      const TPageRec& e = way.Entry(k);
      TFlowPosition pos;
      pos.Page = e.Number;
      switch (e.GotoPage) {
        case gpNext:
        case gpAsk:
          pos.Next = k + 2;
          break;
        case gpFinish:
          pos.Next = kFlowFinish;
          break;
        default:
          pos.Next = e.GotoPage;  // gpDialog (0) or a position
      }
      m.Positions.push_back(pos);
    }
  } else {
    for (int32_t p = 1; p <= m.NumPages; ++p)
      m.Positions.push_back({p, p < m.NumPages ? p + 1 : kFlowFinish, {}, 0});
  }

  // Read by name: a container class without the history rules simply has none.
  if (const TPropInfo* skip = z.ClassInfo().FindProp("SkipOnBack"); skip && skip->GetObj)
    if (auto* pages = dynamic_cast<TIntegerList*>(skip->GetObj(&z)))
      for (int i = 0; i < pages->ItemCount(); ++i) m.SkipOnBack.push_back(pages->GetInteger(i));

  const TComponent* form = z.Owner();
  if (!form) return m;
  TClassCache<TPlaceRoles> classes;
  for (TComponent* c : form->Components()) {
    const TPlaceRoles& roles = classes.For(c->ClassInfo());
    if (!roles.PageBound() || roles.ContainerOf(*c) != &z) continue;
    const TAposList* places = roles.PositionList(*c);
    if (!places) continue;
    for (int32_t page = places->RecordCount(); page <= m.NumPages; ++page)
      m.MissingPlaces.push_back({c->Name(), page});
    auto* radio = dynamic_cast<TAJumpRadioBtn*>(c);
    auto* button = dynamic_cast<TAJumpBitBtn*>(c);
    for (size_t i = 0; i < m.Positions.size(); ++i) {
      TFlowPosition& pos = m.Positions[i];
      if (pos.Page < 0 || pos.Page >= places->RecordCount()) continue;
      TAposRec place;
      places->GetApos(pos.Page, place);
      if (!place.Shown) continue;
      ++pos.ShownControls;
      const int32_t position = static_cast<int32_t>(i) + 1;
      // A target of -1 sends the wizard nowhere: the control takes no part in the walk.
      if (radio && radio->Target(position) != -1)
        pos.Jumps.push_back({c->Name(), radio->Target(position), true, radio->Checked()});
      else if (button && button->Target(position) != -1)
        pos.Jumps.push_back({c->Name(), button->Target(position), false, false});
    }
  }
  return m;
}

}  // namespace zelvar
