#pragma once
// Resource and control IDs of the input box.
#define IDD_INPUT_BOX 1100
#define IDC_INPUT_PROMPT 1101
#define IDC_INPUT_TEXT 1102
