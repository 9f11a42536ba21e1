#pragma once

// The resources of pelagor.exe, shared by the resource script and the window.

#define PELAGOR_IDD_CONVERTER 102
#define PELAGOR_IDI_APP 128
