#include "ui/settings/settingsview.h"
