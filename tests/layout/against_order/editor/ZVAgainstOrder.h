// An editor header reaching up into the dialogs: the include order check must refuse it.
#pragma once

#include "dialogs/ZVStandardDialogs.h"
#include "foundation/ZVTypes.h"
