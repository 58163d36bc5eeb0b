// The slip model: zones, sections, slip properties.
#pragma once

#include "model/BvrProperties.h"
#include "model/Font.h"
#include "model/Sections.h"
#include "model/Zones.h"
