// The container's dealings with the controls of one page, through the names they publish:
// placing a control on a page by code, and the control a page change gives the focus to.

#include <string>
#include <vector>

#include "container/PageBoundNames.h"
#include "container/ZelvarA.h"
#include "platform/core/ClassCache.h"
#include "platform/core/Format.h"
#include "platform/forms/Forms.h"

namespace zelvar {

namespace {

// The first control in tab order below tabs that takes the focus and lies on the page shown:
// it is, or lies inside, a page-bound control of zelvar (onPage: one above already is).
// Hidden and disabled controls are passed over with all they hold, as a page change leaves
// the controls of other pages, and so is a control that takes no first focus (the list of
// the steps: Tab reaches it).
TWinControl* FirstOfPage(const std::vector<TWinControl*>& tabs, bool onPage, const TZelvar& zelvar,
                         TClassCache<TPlaceRoles>& classes) {
  for (TWinControl* w : tabs) {
    if (!w->Visible() || !w->Enabled()) continue;
    bool inPage = onPage;
    if (!inPage) {
      const TPlaceRoles& roles = classes.For(w->ClassInfo());
      inPage = roles.PageBound() && roles.ContainerOf(*w) == &zelvar;
    }
    if (inPage && w->TabStop() && w->TakesFirstFocus()) return w;
    if (TWinControl* inner = FirstOfPage(w->TabListRef(), inPage, zelvar, classes)) return inner;
  }
  return nullptr;
}

}  // namespace

void TZelvar::Place(TControl* control, int32_t page, const TRect& bounds) {
  if (!control) throw EComponentError("Place needs a control, not nil");
  const std::string name = FormName(*control);
  // Everything is checked before anything changes.
  if (page < 0 || page > FNumPages)
    throw EListError(Format("Cannot place %s on page %d: %s has pages 0 to %d",
                            {name, page, FormName(*this), FNumPages}));
  if (control->Owner() != Owner())
    throw EComponentError(
        Format("Cannot place %s: it belongs to %s, and %s to %s",
               {name, control->Owner() ? FormName(*control->Owner()) : std::string("no form"),
                FormName(*this), Owner() ? FormName(*Owner()) : std::string("no form")}));
  const TPlaceRoles roles(control->ClassInfo());
  if (!roles.PageBound())
    throw EComponentError(
        Format("Cannot place %s: %s is not page-bound (it publishes no SetNewPosition, FAposList "
               "and FZelvar)",
               {name, control->ClassName()}));
  if (TZelvar* follows = roles.ContainerOf(*control); follows != this)
    throw EComponentError(Format(
        "Cannot place %s: it follows %s, not %s",
        {name, follows ? FormName(*follows) : std::string("no container"), FormName(*this)}));
  roles.CheckPlace(*control, page);
  TAposList& list = *roles.PositionList(*control);

  // Giving the control a parent and a size records its place on the page shown: the places
  // are kept first and put back with the new one.
  std::vector<TAposRec> places = list.Records();
  if (!control->Parent()) control->SetParent(this);
  control->SetBounds(control->Left(), control->Top(), bounds.Width(), bounds.Height());
  for (size_t i = 0; i < places.size(); ++i) places[i].Shown = 0;
  places[static_cast<size_t>(page)] = {bounds.Left, bounds.Top, 1};
  for (size_t i = 0; i < places.size(); ++i) list.SetApos(static_cast<int>(i), places[i]);
  // The control takes the page shown as a page change would give it, and nothing else hears.
  roles.Call(control, RealPage());
}

void TZelvar::FocusPage() {
  auto* form = dynamic_cast<TForm*>(GetParentForm());
  // The form itself need not be shown yet: Execute chooses the focus before it shows it.
  if (!form || !form->TakesKeys(*this)) return;
  TClassCache<TPlaceRoles> classes;
  TWinControl* target = FirstOfPage(form->TabListRef(), false, *this, classes);
  if (!target)
    for (TBitBtn* b : {static_cast<TBitBtn*>(FNextButton), FOKButton})
      if (b && b->Default() && form->TakesKeys(*b)) target = b;
  if (target) {
    form->SetFocusedControl(target);
    return;
  }
  // A disabled default button (Next waits for something) takes no focus; a control the
  // change hid must not keep it, so keys go to the form and Enter to the default button
  // once it is enabled.
  if (TWinControl* focused = form->FocusedControl(); focused && !form->TakesKeys(*focused))
    form->SetFocusedControl(nullptr);
}

}  // namespace zelvar
