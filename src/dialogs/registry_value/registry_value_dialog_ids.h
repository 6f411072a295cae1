#pragma once
// Resource and control IDs of the registry value editor; "M&odify" is IDOK, "&Close" IDCANCEL.
#define IDD_REGISTRY_VALUE 1900
#define IDC_REGVALUE_KEY 1901      /* the full key path, kept as stored */
#define IDC_REGVALUE_NAME 1902     /* the value name, kept as stored */
#define IDC_REGVALUE_DATA 1903     /* the current data, kept as stored */
#define IDC_REGVALUE_NEW_DATA 1904 /* the new data the user types */
#define IDC_REGVALUE_COMPUTER 1905 /* empty, or "On computer: \\" and the computer */
