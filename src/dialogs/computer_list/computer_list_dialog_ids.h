#pragma once
// Resource and control IDs of the computer selection dialog.
#define IDD_COMPUTER_LIST 1600
#define IDC_CL_INSTRUCTIONS 1601 /* Label1: per mode */
#define IDC_CL_PROMPT 1602       /* Label3: the prompt, or the compared data row */
#define IDC_CL_NAME 1603         /* Text1: the one computer */
#define IDC_CL_LOCAL 1604        /* chkLocal */
#define IDC_CL_LIST_LABEL 1605   /* Label2 */
#define IDC_CL_LIST 1606         /* List1 */
#define IDC_CL_SELECTED 1607     /* Label4: the selection count */
#define IDC_CL_PING_COUNTS 1608  /* Label5 */
#define IDC_CL_OPEN_LOCAL 1609   /* cmdLocal */
#define IDC_CL_BROWSE 1610       /* cmdAdd */
#define IDC_CL_PING 1611         /* cmdPing */
