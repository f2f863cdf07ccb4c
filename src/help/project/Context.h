// Help contexts of the windows and their controls, by window name "_"
// control name. The programs' context data is built from this file; the
// popups of CSHelp.txt and the topics of Alias.h use the same numbers.

// The main program
#define FormZentavo 1
#define FormZentavo_LabelNameFile 2
#define FormZentavo_LabelNameJob 3
#define FormZentavo_GroupBoxRep 4
#define FormZentavo_ListBoxRep 5
#define FormZentavo_GaugeFile 6
#define FormZentavo_Gauge 7
#define FormZentavo_BitBtnCancel 8
#define FormZentavo_FOpen 9
#define FormZentavo_FEdit 10
#define FormZentavo_FRun 11
#define FormZentavo_FPrint 12
#define FormZentavo_FExit 13
#define FormZentavo_RLoad 14
#define FormZentavo_RPrint 21
#define FormZentavo_OptionsMenu 22
#define FormZentavo_HDoc 23
#define FormZentavo_TBHelp 23
#define FormZentavo_HPrompt 30
#define FormZentavo_HAbout 32
#define FormZentavo_LabelFiles 33
#define FormZentavo_FileMenu 34
#define FormZentavo_ReportMenu 35
#define FormZentavo_HelpMenu 36

// The pause before an automatic run
#define FormPause 40
#define FormPause_CheckListBox 41
#define FormPause_ButtonRun 50
#define FormPause_ButtonCancel 52
#define FormPause_LabelTime 53
#define FormPause_LabelAutoRun 54

// The report viewer
#define FormRep 100
#define FormRep_ListBoxRep 101
#define FormRep_TBPrint 102
#define FormRep_TBClear 103
#define FormRep_TBSearch 104
#define FormRep_TBSearchA 105
#define FormRep_TBClose 110

// The scheduler's tray menu
#define TrayForm 120

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
#define FormEditor_ComboBoxName 301
#define FormEditor_TabSheetArch 302
#define FormEditor_TabSheetCopies 303
#define FormEditor_TabSheetExtCopies 304
#define FormEditor_TabSheetComs 305
#define FormEditor_ButtonOk 306
#define FormEditor_ButtonCancel 307
#define FormEditor_StatusBar 308
#define FormEditor_FNew 310
#define FormEditor_FOpen 311
#define FormEditor_FSave 312
#define FormEditor_FSaveAss 313
#define FormEditor_FPrint 314
#define FormEditor_FExit 315
#define FormEditor_ENew 320
#define FormEditor_ECopy 321
#define FormEditor_EPaste 322
#define FormEditor_EDel 323
#define FormEditor_ERen 324
#define FormEditor_TBPrev 325
#define FormEditor_TBNext 326
#define FormEditor_HPrompt 327
#define FormEditor_HDoc 328

// Topics asked for by name
#define CommandLine 400
#define CreateJob 500
