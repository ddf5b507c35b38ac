// A document header reaching up to an element kind: the label knows elements only by their base.
#pragma once

#include "elements/ZVBarCode.h"
