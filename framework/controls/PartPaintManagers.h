// The part painters every paint manager owns: gallery, slider and progress.
#pragma once

#include "framework/controls/ControlGalleryPaintManager.h"
#include "framework/controls/ProgressPaintManager.h"
#include "framework/controls/SliderPaintManager.h"
