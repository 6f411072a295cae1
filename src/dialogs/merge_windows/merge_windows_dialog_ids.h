#pragma once
// Resource and control IDs of the merge window selection.
#define IDD_MERGE_WINDOWS 1700
#define IDC_MERGE_LIST 1701    /* List1: the other views' captions */
#define IDC_MERGE_CURRENT 1702 /* Label2: "Current view: " and the active view's caption */
#define IDC_MERGE_PROMPT 1703  /* Label3 */
