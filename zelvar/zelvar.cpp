#include "zelvar/zelvar.h"

#include <mutex>

#include "platform/controls/Register.h"

namespace zelvar {

void Initialize() {
  static std::once_flag once;
  std::call_once(once, [] {
    RegisterControls();
    RegisterClasses<TForm>();
    RegisterZelvarA();
    RegisterZelvarC();
  });
}

}  // namespace zelvar
