#pragma once
// Resource and control IDs of the file properties dialog.
#define IDD_FILE_PROPERTIES 1800
#define IDC_FP_PATH_LABEL 1801 /* "File:" or "Folder:" */
#define IDC_FP_PATH 1802
#define IDC_FP_MODIFIED 1803
#define IDC_FP_ACCESSED 1804
#define IDC_FP_CREATED 1805
#define IDC_FP_SIZE 1806
#define IDC_FP_SIZE_KB 1807
#define IDC_FP_ATTRIBUTES 1808
#define IDC_FP_READ_ONLY 1810 /* the six attribute boxes, in this order */
#define IDC_FP_HIDDEN 1811
#define IDC_FP_SYSTEM 1812
#define IDC_FP_ARCHIVE 1813
#define IDC_FP_COMPRESS 1814
#define IDC_FP_ENCRYPT 1815
#define IDC_FP_PROGRAMS 1820
#define IDC_FP_ACTIONS 1821
#define IDC_FP_COMMAND 1822
#define IDC_FP_SHEET 1830    /* "Open explorer p&roperties ..." */
#define IDC_FP_LAUNCH 1831   /* "&Launch" */
#define IDC_FP_EXPLORER 1832 /* "Open e&xplorer ..." */
