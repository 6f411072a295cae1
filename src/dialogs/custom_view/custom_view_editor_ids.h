#pragma once
// Resource, control and menu IDs of the custom view editor.
#define IDD_CUSTOM_VIEW 1500
#define IDC_CV_BASE 1501 /* the base as a whole, rebuilt from the visible frame on OK */
#define IDC_CV_FRAME_KEY 1502
#define IDC_CV_BASE_KEY 1503
#define IDC_CV_FAVORITES 1504
#define IDC_CV_REGEDIT 1505
#define IDC_CV_KEYS_LEGEND 1506
#define IDC_CV_FRAME_PATH 1510
#define IDC_CV_FOLDER 1511
#define IDC_CV_MASK_LABEL 1512
#define IDC_CV_MASK 1513
#define IDC_CV_LEVELS_LABEL 1514
#define IDC_CV_LEVELS 1515
#define IDC_CV_LEVELS_SPIN 1516
#define IDC_CV_EXPLORER 1517
#define IDC_CV_ORDER 1520
#define IDC_CV_ORDER_D 1521
#define IDC_CV_ALL 1522
#define IDC_CV_SAME_ORDER 1523
#define IDC_CV_STANDARD_VIEWS 1524
#define IDC_CV_FRAME_COLUMNS 1530
#define IDC_CV_GRID 1531
#define IDC_CV_UP 1532
#define IDC_CV_DOWN 1533
#define IDC_CV_ERASE 1534
#define IDC_CV_EDIT_TEXT 1540      /* width and header */
#define IDC_CV_EDIT_DATA 1541      /* data expression */
#define IDC_CV_EDIT_CONDITION 1542 /* condition */
#define IDC_CV_EDIT_EXTRA 1543     /* the extra field */
#define IDM_CV_MODIFY 1550
#define IDM_CV_COPY 1551
#define IDM_CV_PASTE 1552
#define IDM_CV_MOVE_UP 1553
#define IDM_CV_MOVE_DOWN 1554
#define IDM_CV_ERASE 1555
