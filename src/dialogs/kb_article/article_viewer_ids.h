#pragma once
// Resource and control IDs of the knowledge-base article viewer; "O&K" is IDOK.
#define IDD_KB_ARTICLE 2700
#define IDC_KB_HEADING 2701 /* Label1: "MS Knowledgebase article " and the number */
#define IDC_KB_TITLE 2702   /* Text1: the article's title, or what became of the look-up */
#define IDC_KB_COPY 2703    /* Command1 "&Copy" */
#define IDC_KB_OPEN 2704    /* Command2 "&Open" */
