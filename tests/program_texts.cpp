#include "program_texts.h"

const char kBanner[] =
    "Virturl disk file maker for MSX Emulator Veldisk32 Version 1.0.0\n"
    "Made by the Veldisk32 developers for everyone who keeps MSX disks alive.\n";

const char kUsage[] =
    "Usage:VELDISK Command P1 P2 options\n"
    "Command:\n"
    "V copy real disk to Virtual disk file. P1:Drive P2:File name\n"
    "R copy virtual disk file to Real disk. P1:File name P2:Drive\n"
    "B copy virtual disk file's Boot sector to real disk. P1:File name P2:Drive\n"
    "M Make new virtual disk file from real disk P1:Drive P2:File name\n"
    "N make New virtual disk file from virtual disk file P1:Source file name P2:New file name\n"
    "S Save real disk's boot sector to file. P1:Drive P2:File name\n"
    "Option:\n"
    "/M?? :new virtual disk Media type. 29:2DD,9sec. 28:2DD,8sec. 19:1DD,9sec 18:1DD,8sec (M and N command use it.).\n"
    "/B* Base boot sector file (B and N command use it.)\n"
    "\n";

std::string DefaultFileLine(const std::string& name) { return "Default Base boot sector file is " + name + "\n"; }

std::string MediaTypeLine(int mediaType) { return "New virtual disk MEDIA type is " + std::to_string(mediaType) + "\n\n"; }
