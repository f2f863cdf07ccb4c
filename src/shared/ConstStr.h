#pragma once

#include <QChar>
#include <QString>
#include <QStringView>

#include <array>
#include <span>

class LanguageFile;

// The language texts: every message, caption and report text of the
// programs' own code. Each holds its built-in text until the language file
// "Russian.lng" beside the executable replaces it, which happens once, by
// itself, while the program's QApplication is being made: before any form
// exists and before any thread starts. A text never grows beyond its
// capacity (ConstStr.cpp holds the table of keys, capacities and built-in
// texts). After that load the texts are never written again (only tests
// load and restore them, between cases), so every thread may read them
// without a lock. They are set from main() on; another unit's static
// initialisation must not read them.
namespace zentavo {

// Section "sStrings", named by their keys.
extern QString sVorrinHeader;
extern QString sEditorHeader;
extern QString sOptionsHeader;
extern QString sMemoryError;
extern QString sRunZentavoError;
extern QString sRunVorrinError;
extern QString sKey1Error;
extern QString sKey2Error;
extern QString sCopyError;
extern QString sDeleteError;
extern QString sRemoveError;
extern QString sCreateFolderError;
extern QString sArchiveError;
extern QString sPrintErrors;
extern QString sWriteError;
extern QString sReadError;
extern QString sQuestionRun;
extern QString sQuestionBreak;
extern QString sQuestionCancel;
extern QString sQuestionSave;
extern QString sQuestionDelCopy;
extern QString sQuestionDelACopy;
extern QString sQuestionDelCmd;
extern QString sQuestionDelArch;
extern QString sQuestionRewrite;
extern QString sQuestionSetDef;
extern QString sRunZentavo;
extern QString sEndZentavo;
extern QString sRunHeldBack;
extern QString sLastRunError;
extern QString sSaveReport;
extern QString sEndProcess;
extern QString sBeginProcess;
extern QString sAddFiles;
extern QString sCreateFileList;
extern QString sCopy;
extern QString sDelete;
extern QString sRemove;
extern QString sSaveInUneven;
extern QString sSaveInEven;
extern QString sTryDelOldArch;
extern QString sCreateFolder;
extern QString sRunCommand;
extern QString sArchive;
extern QString sButBreaking;
extern QString sResizeReport;
extern QString sComputerName;
extern QString sInsertNextDisk;
extern QString sAlreadyRun;
extern QString sCloseVorrin;
extern QString sJob;
extern QString sJobFile;
extern QString sAlreadyExists;
extern QString sRunEditor1;
extern QString sRunEditor2;
extern QString sNotLoad;
extern QString sNotTime;
extern QString sReportBak;
extern QString sReportShared;
extern QString sMoveIntoItself;
extern QString sButClose;
extern QString sButBreak;
extern QString sUserBroke;
extern QString sUserCanceled;
extern QString sArchiveRepaired;
extern QString sNoAnswer;
extern QString sNoFileAdded;
extern QString sArchiveBusy;
extern QString sNameArch;
extern QString sSourceList;
extern QString sCopyTempFile;
extern QString sExcludeList;
extern QString sComment;
extern QString sCopyEveryDay;
extern QString sOnlyOn;
extern QString sCopyExtend;
extern QString sCopyWeek;
extern QString sCopyMonth;
extern QString sCopyQuart;
extern QString sCopyYear;
extern QString sCommandList;
extern QString sCommandBefore;
extern QString sCommandAfter;
extern QString sCommandCopy;
extern QString sCommandRemove;
extern QString sCommandDelete;
extern QString sIn;
extern QString sEnd;
extern QString sEndWeek;
extern QString sEndMonth;
extern QString sEndQuart;
extern QString sEndYear;
extern QString sSecondEven;
extern QString sSecondUneven;
extern QString sNotFound;
extern QString sSourceNotFount;
extern QString sListExclude;
extern QString sEnterInt;
extern QString sTimeWaiting;
extern QString sSizeReport;
extern QString sSizeJournal;
extern QString sReport;
extern QString sJournal;
extern QString sString1;
extern QString sString2;
extern QString sField1;
extern QString sField2;
extern QString sFilterJob;
// The file dialogs' filter for job files: sFilterJob followed by "(*.dat)".
QString JobFileFilter();
extern QString sFilterArch;
extern QString sFilterComs;
extern QString sAnyFileName;
extern QString sCopyOfJob;
extern QString sReg1Week;
extern QString sReg2Week;
extern QString sReg1Month;
extern QString sReg2Month;
extern QString sReg1Quart;
extern QString sReg2Quart;
extern QString sReg1Year;
extern QString sReg2Year;

// The result word of a job, indexed by the job status (0 ok, 1 error,
// 2 fatal error); keys "sRes0" to "sRes2" of section "sStrings".
extern std::array<QString, 3> sRes;

// Two-letter weekday names, indexed by the weekday number (0 Sunday);
// keys "DOFW0" to "DOFW6" of section "DaysOfWeek".
extern std::array<QString, 7> DOFW;

// One row of the table of language texts.
struct LanguageText {
    QStringView section;
    QStringView key;
    QString *text;
    qsizetype capacity; // in characters, after decoding
    QStringView builtIn;
};

// Every language text in the order the start-up load reads them.
std::span<const LanguageText> LanguageTexts();

// "Russian.lng" in the folder of the running executable.
QString LanguageFilePath();

// Each text present in the file replaces the current text, cut to the
// text's capacity; a missing key keeps the current text, a key with an
// empty value empties it.
void LoadLanguageTexts(const LanguageFile &file);
void LoadLanguageTexts(const QString &path);

// Every text back to its built-in text.
void RestoreBuiltInTexts();

// The caption without its first "&" (its accelerator mark).
QString DeleteAmpersand(const QString &caption);

// Tests of report lines by language text. A translator may empty a text;
// an empty text then matches no line instead of every line.
bool LineHasText(QStringView line, QStringView text);
bool LineStartsWithText(QStringView line, QStringView text);

// The weekday name of a days digit "0" to "6"; any other character stands
// for itself, so that a damaged days value shows as written.
QString DayName(QChar digit);

} // namespace zentavo
