// Help contexts of the windows and their controls, by window name "_"
// control name. The programs' context data is built from this file; the
// popups of CSHelp.txt and the topics of Alias.h use the same numbers.

// The main program
#define FormZentavo 20
#define FormZentavo_LabelNameFile 2
#define FormZentavo_LabelNameJob 15
#define FormZentavo_GroupBoxRep 4
#define FormZentavo_ListBoxRep 5
#define FormZentavo_GaugeFile 6
#define FormZentavo_Gauge 18
#define FormZentavo_BitBtnCancel 8
#define FormZentavo_FOpen 9
#define FormZentavo_FEdit 10
#define FormZentavo_FRun 11
#define FormZentavo_FPrint 12
#define FormZentavo_FExit 13
#define FormZentavo_RLoad 19
#define FormZentavo_RPrint 21
#define FormZentavo_OptionsMenu 22
#define FormZentavo_HDoc 23
#define FormZentavo_TBHelp 23
#define FormZentavo_HPrompt 30
#define FormZentavo_HUpdate 39
#define FormZentavo_HAbout 37
#define FormZentavo_LabelFiles 38
#define FormZentavo_FileMenu 24
#define FormZentavo_ReportMenu 35
#define FormZentavo_HelpMenu 36

// The pause before an automatic run
#define FormPause 57
#define FormPause_CheckListBox 58
#define FormPause_ButtonRun 50
#define FormPause_ButtonCancel 52
#define FormPause_LabelTime 53
#define FormPause_LabelAutoRun 54

// The report viewer
#define FormRep 140
#define FormRep_ListBoxRep 141
#define FormRep_TBPrint 142
#define FormRep_TBClear 143
#define FormRep_TBSearch 144
#define FormRep_TBSearchA 145
#define FormRep_TBClose 146

// The scheduler's tray menu
#define TrayForm 150
#define TrayForm_OpenItem 151
#define TrayForm_RunItem 152
#define TrayForm_EditItem 153
#define TrayForm_TheZentavoItem 154
#define TrayForm_ReportItem 155
#define TrayForm_JournalItem 156
#define TrayForm_UpdateItem 157
#define TrayForm_HelpItem 158
#define TrayForm_AboutItem 159
#define TrayForm_ExitItem 160

// The settings dialog
#define FormVorrin 200
#define FormVorrin_TabSheetVorrin 201
#define FormVorrin_PanelWeekDays 202
#define FormVorrin_PanelMonthDays 203
#define FormVorrin_ListBoxTimes 204
#define FormVorrin_TabSheetOptions 210
#define FormVorrin_TabSheetArchive 211
#define FormVorrin_TabSheetMail 212
#define FormVorrin_GroupBoxFJob 213
#define FormVorrin_GroupBoxBefore 214
#define FormVorrin_GroupBoxAfter 215
#define FormVorrin_GroupBoxDays 216
#define FormVorrin_ComboBoxPrior 217
#define FormVorrin_GroupBoxPath 220
#define FormVorrin_GroupBoxVol 221
#define FormVorrin_GroupBoxTemp 222
#define FormVorrin_GroupBoxServer 223
#define FormVorrin_GroupBoxAuth 224
#define FormVorrin_TabSheetReport 230
#define FormVorrin_GroupBoxRep 231
#define FormVorrin_GroupBoxRun 232
#define FormVorrin_ButtonUse 240

// The job file editor
#define FormEditor 300
#define FormEditor_ComboBoxName 1
#define FormEditor_StatusBar 7
#define FormEditor_ButtonOk 16
#define FormEditor_ButtonCancel 17
#define FormEditor_FileMenu 130
#define FormEditor_EditMenu 130
#define FormEditor_HelpMenu 130
#define FormEditor_FNew 100
#define FormEditor_FOpen 101
#define FormEditor_FSave 102
#define FormEditor_FSaveAss 103
#define FormEditor_FPrint 104
#define FormEditor_FExit 105
#define FormEditor_ENew 110
#define FormEditor_ECopy 111
#define FormEditor_EPaste 112
#define FormEditor_EDel 113
#define FormEditor_ERen 114
#define FormEditor_PopupNameNew 110
#define FormEditor_PopupNameCopy 111
#define FormEditor_PopupNamePaste 112
#define FormEditor_PopupNameDel 113
#define FormEditor_PopupNameRen 114
#define FormEditor_HDoc 120
#define FormEditor_HAbout 121
#define FormEditor_TBPrev 122
#define FormEditor_TBNext 123
#define FormEditor_HPrompt 327
#define FormEditor_TabSheetArch 302
#define FormEditor_TabSheetCopies 303
#define FormEditor_TabSheetExtCopies 304
#define FormEditor_TabSheetComs 305

// The editor's dialogs: a source, a command's kind, a command's paths. The
// numbers are fixed; the status bar's 7 serves the paths dialog too, and its
// popup text speaks of both.
#define FormSource 3
#define FormSource_ButtonBrowse 14
#define FormSelCmd_RadioButtonExt 31
#define FormSelCmd_RadioButtonCopy 32
#define FormSelCmd_RadioButtonDel 33
#define FormSelCmd_RadioButtonRen 34
#define FormCopy 7
#define FormCopy_EditFrom 40
#define FormCopy_EditTo 41
#define FormCopy_ButtonBrowse 14
#define FormCopy_ButtonTo 14

// Topics asked for by name
#define CommandLine 400
#define CreateJob 500
