#include "ui/player/contentview.h"
