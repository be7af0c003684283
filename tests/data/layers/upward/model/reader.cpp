// A reader that reaches up to the lifecycle.
#include "app/lifecycle.h"
#include "model/project.h"
