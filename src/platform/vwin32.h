// The VWIN32 system device of the Windows 95/98/Me family. Its definitions
// come with the driver kit, not with <windows.h>, so we carry them here.
#pragma once

#include <cstdint>

// Register block that VWIN32 loads before it runs a DOS service and stores
// after it; the field order is the device's. Every field is 32 bits wide, as
// on the 32-bit Windows that has this device.
struct DIOC_REGISTERS {
    uint32_t reg_EBX;
    uint32_t reg_EDX;
    uint32_t reg_ECX;
    uint32_t reg_EAX;
    uint32_t reg_EDI;
    uint32_t reg_ESI;
    uint32_t reg_Flags;
};
static_assert(sizeof(DIOC_REGISTERS) == 28, "VWIN32 expects a 28-byte register block");

constexpr uint32_t VWIN32_DIOC_DOS_IOCTL = 1;  // INT 21h function 4400h to 4411h
constexpr uint32_t VWIN32_DIOC_DOS_INT25 = 2;  // absolute disk read
constexpr uint32_t VWIN32_DIOC_DOS_INT26 = 3;  // absolute disk write
