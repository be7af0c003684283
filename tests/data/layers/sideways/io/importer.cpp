// An importer that reaches across to its peer.
#include "model/project.h"
#include "view/camera.h"
