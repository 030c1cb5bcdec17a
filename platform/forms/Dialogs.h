#pragma once
// MessageDlg: a real message form with a text and named buttons (Yes, No, OK, Cancel, ...), so
// that a user, a test or a script answers it like any other form.

#include <cstdint>
#include <string>

#include "platform/controls/Controls.h"

namespace zelvar {

ZELVAR_ENUM(TMsgDlgType, uint8_t, mtWarning, mtError, mtInformation, mtConfirmation, mtCustom)
ZELVAR_ENUM(TMsgDlgBtn, uint8_t, mbYes, mbNo, mbOK, mbCancel, mbAbort, mbRetry, mbIgnore, mbAll,
            mbHelp)
using TMsgDlgButtons = TSet<TMsgDlgBtn>;

// Shows the message modally and returns the modal result of the button pressed (mrOk, ...).
TModalResult MessageDlg(const std::string& message, TMsgDlgType type, TMsgDlgButtons buttons,
                        int32_t helpContext = 0);

}  // namespace zelvar
