#pragma once
// Resource and control IDs of the new-view dialog. The buttons keep the numbers the program gives them.
#define IDD_NEW_VIEW 1200
#define IDC_NEW_BUILT_IN_LIST 1201
#define IDC_NEW_DESIGN 1211 /* 1 "&New .." */
#define IDC_NEW_LOCAL 1212  /* 2 "&Local registry" */
#define IDC_NEW_REMOTE 1213 /* 3 "&Another computer .." */
#define IDC_NEW_MSI 1214    /* 4 "&MSI/install view .." */
#define IDC_NEW_FOLDER 1215 /* 5 "&Dir 2 levels .." */
#define IDC_NEW_INI 1216    /* 6 "&Open ini file .." */
#define IDC_NEW_FIRST_BUTTON IDC_NEW_DESIGN
#define IDC_NEW_LAST_BUTTON IDC_NEW_INI
