// A folder nobody gave a layer.
#include "model/project.h"
