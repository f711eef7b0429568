#pragma once

#include "../sector/sector_device.h"

// The sector device of the running Windows family, or null without memory.
// Only the 95/98/Me family gets the VWIN32 device; any other answer, and a
// failed version query, get the volume device.
SectorDevice* CreateSectorDevice();
