// The container's dealings with the controls of one page, through the names they publish:
// placing a control on a page by code.

#include <string>
#include <vector>

#include "container/PageBoundNames.h"
#include "container/ZelvarA.h"
#include "platform/core/Format.h"

namespace zelvar {

namespace {

std::string NameOf(const TComponent& c) {
  return c.Name().empty() ? c.ClassName() : c.Name();
}

}  // namespace

void TZelvar::Place(TControl* control, int32_t page, const TRect& bounds) {
  if (!control) throw EComponentError("Place needs a control, not nil");
  const std::string name = NameOf(*control);
  // Everything is checked before anything changes.
  if (page < 0 || page > FNumPages)
    throw EListError(Format("Cannot place %s on page %d: %s has pages 0 to %d",
                            {name, page, NameOf(*this), FNumPages}));
  if (control->Owner() != Owner())
    throw EComponentError(
        Format("Cannot place %s: it belongs to %s, and %s to %s",
               {name, control->Owner() ? NameOf(*control->Owner()) : std::string("no form"),
                NameOf(*this), Owner() ? NameOf(*Owner()) : std::string("no form")}));
  const TPlaceRoles roles(control->ClassInfo());
  if (!roles.PageBound())
    throw EComponentError(
        Format("Cannot place %s: %s is not page-bound (it publishes no SetNewPosition, FAposList "
               "and FZelvar)",
               {name, control->ClassName()}));
  if (TZelvar* follows = roles.ContainerOf(*control); follows != this)
    throw EComponentError(
        Format("Cannot place %s: it follows %s, not %s",
               {name, follows ? NameOf(*follows) : std::string("no container"), NameOf(*this)}));
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

}  // namespace zelvar
