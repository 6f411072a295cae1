#pragma once
// Resource and control IDs of the selection form; "&Open" is IDOK, "&Cancel" IDCANCEL. The options keep the
// numbers the program gives them.
#define IDD_SELECT_VIEW 2100
#define IDC_SELECT_LOCAL 2101    /* 1 "Locally Installed:" */
#define IDC_SELECT_STATION 2102  /* 2 "View station:" */
#define IDC_SELECT_CD_IMAGE 2103 /* 3 "on d:\distrib\CD_image" */
#define IDC_SELECT_PATH_OPT 2104 /* 4 "View path location:" */
#define IDC_SELECT_COMPUTER 2110 /* the computer box */
#define IDC_SELECT_PATH 2111     /* the path box */
#define IDC_SELECT_DRIVES 2112   /* the drive list */
#define IDC_SELECT_FOLDERS 2113  /* the folder list */
#define IDC_SELECT_FIRST_OPTION IDC_SELECT_LOCAL
#define IDC_SELECT_LAST_OPTION IDC_SELECT_PATH_OPT
