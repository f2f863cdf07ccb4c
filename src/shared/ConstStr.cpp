#include "ConstStr.h"

#include "platform/Paths.h"
#include "shared/LanguageFile.h"

#include <QCoreApplication>

namespace zentavo {

QString sVorrinHeader;
QString sEditorHeader;
QString sOptionsHeader;
QString sMemoryError;
QString sRunZentavoError;
QString sRunVorrinError;
QString sKey1Error;
QString sKey2Error;
QString sCopyError;
QString sDeleteError;
QString sRemoveError;
QString sCreateFolderError;
QString sArchiveError;
QString sPrintErrors;
QString sWriteError;
QString sReadError;
QString sQuestionRun;
QString sQuestionBreak;
QString sQuestionCancel;
QString sQuestionSave;
QString sQuestionDelCopy;
QString sQuestionDelACopy;
QString sQuestionDelCmd;
QString sQuestionDelArch;
QString sQuestionRewrite;
QString sQuestionSetDef;
QString sRunZentavo;
QString sEndZentavo;
QString sRunHeldBack;
QString sLastRunError;
QString sSaveReport;
QString sEndProcess;
QString sBeginProcess;
QString sAddFiles;
QString sCreateFileList;
QString sCopy;
QString sDelete;
QString sRemove;
QString sSaveInUneven;
QString sSaveInEven;
QString sTryDelOldArch;
QString sCreateFolder;
QString sRunCommand;
QString sArchive;
QString sButBreaking;
QString sResizeReport;
QString sComputerName;
QString sInsertNextDisk;
QString sAlreadyRun;
QString sCloseVorrin;
QString sJob;
QString sJobFile;
QString sAlreadyExists;
QString sRunEditor1;
QString sRunEditor2;
QString sNotLoad;
QString sNotTime;
QString sReportBak;
QString sReportShared;
QString sMoveIntoItself;
QString sButClose;
QString sButBreak;
QString sUserBroke;
QString sUserCanceled;
QString sArchiveRepaired;
QString sNoAnswer;
QString sNoFileAdded;
QString sArchiveBusy;
QString sNameArch;
QString sSourceList;
QString sCopyTempFile;
QString sExcludeList;
QString sComment;
QString sCopyEveryDay;
QString sOnlyOn;
QString sCopyExtend;
QString sCopyWeek;
QString sCopyMonth;
QString sCopyQuart;
QString sCopyYear;
QString sCommandList;
QString sCommandBefore;
QString sCommandAfter;
QString sCommandCopy;
QString sCommandRemove;
QString sCommandDelete;
QString sIn;
QString sEnd;
QString sEndWeek;
QString sEndMonth;
QString sEndQuart;
QString sEndYear;
QString sSecondEven;
QString sSecondUneven;
QString sNotFound;
QString sSourceNotFount;
QString sListExclude;
QString sEnterInt;
QString sTimeWaiting;
QString sSizeReport;
QString sSizeJournal;
QString sReport;
QString sJournal;
QString sString1;
QString sString2;
QString sField1;
QString sField2;
QString sFilterJob;
QString sFilterArch;
QString sFilterComs;
QString sAnyFileName;
QString sCopyOfJob;
QString sReg1Week;
QString sReg2Week;
QString sReg1Month;
QString sReg2Month;
QString sReg1Quart;
QString sReg2Quart;
QString sReg1Year;
QString sReg2Year;

std::array<QString, 3> sRes;
std::array<QString, 7> DOFW;

namespace {

constexpr QStringView Strings = u"sStrings";
constexpr QStringView Days = u"DaysOfWeek";

// Key, capacity and built-in text of every language text, in the order the
// start-up load reads them.
constexpr LanguageText Table[] = {
    {Strings, u"sVorrinHeader", &sVorrinHeader, 30, u"The Zentavo scheduler of start"},
    {Strings, u"sEditorHeader", &sEditorHeader, 30, u"Job file editor"},
    {Strings, u"sOptionsHeader", &sOptionsHeader, 30, u"The Zentavo options"},
    {Strings, u"sMemoryError", &sMemoryError, 60, u"Couldn't allocate memory block!"},
    {Strings, u"sRunZentavoError", &sRunZentavoError, 30, u"The Zentavo error executing"},
    {Strings, u"sRunVorrinError", &sRunVorrinError, 30, u"Programm error executing"},
    {Strings, u"sKey1Error", &sKey1Error, 30, u"Unknown key:"},
    {Strings, u"sKey2Error", &sKey2Error, 60, u"For getting help use the key /?"},
    {Strings, u"sCopyError", &sCopyError, 30, u"Error of copying!"},
    {Strings, u"sDeleteError", &sDeleteError, 30, u"Error of deleting!"},
    {Strings, u"sRemoveError", &sRemoveError, 30, u"Error of moving!"},
    {Strings, u"sCreateFolderError", &sCreateFolderError, 30, u"Error of creating folder!"},
    {Strings, u"sArchiveError", &sArchiveError, 30, u"Error of archiving!"},
    {Strings, u"sPrintErrors", &sPrintErrors, 30, u"Errors of running"},
    {Strings, u"sWriteError", &sWriteError, 30, u"Error write file"},
    {Strings, u"sReadError", &sReadError, 30, u"File read error"},
    {Strings, u"sRes0", &sRes[0], 30, u"Ok!"},
    {Strings, u"sRes1", &sRes[1], 30, u"Error!"},
    {Strings, u"sRes2", &sRes[2], 30, u"Fatal error!!!"},
    {Strings, u"sQuestionRun", &sQuestionRun, 90, u"You are sure, what want to start backup copying?"},
    {Strings, u"sQuestionBreak", &sQuestionBreak, 60, u"Do you want to break execution of the program?"},
    {Strings, u"sQuestionCancel", &sQuestionCancel, 60, u"Do you want to cancel execution of the program?"},
    {Strings, u"sQuestionSave", &sQuestionSave, 30, u"Save changes?"},
    {Strings, u"sQuestionDelCopy", &sQuestionDelCopy, 90, u"Do you really want to delete a copy?"},
    {Strings, u"sQuestionDelACopy", &sQuestionDelACopy, 90, u"Do you really want to delete an additional copy?"},
    {Strings, u"sQuestionDelCmd", &sQuestionDelCmd, 90, u"Do you really want to delete a command?"},
    {Strings, u"sQuestionDelArch", &sQuestionDelArch, 90, u"Do you really want to delete the information on archive?"},
    {Strings, u"sQuestionRewrite", &sQuestionRewrite, 30, u"Overwrite?"},
    {Strings, u"sQuestionSetDef", &sQuestionSetDef, 60, u"Do you want to use the given file by default?"},
    {Strings, u"sRunZentavo", &sRunZentavo, 30, u"The Zentavo starts"},
    {Strings, u"sEndZentavo", &sEndZentavo, 60, u"The Zentavo successfully completed"},
    {Strings, u"sRunHeldBack", &sRunHeldBack, 60, u"The Zentavo not started, a run is still under way since"},
    {Strings, u"sLastRunError", &sLastRunError, 90,
     u"Date of this start not saved, \"Once per day\" will start again:"},
    {Strings, u"sSaveReport", &sSaveReport, 30, u"Saving report"},
    {Strings, u"sEndProcess", &sEndProcess, 30, u"Finishing process"},
    {Strings, u"sBeginProcess", &sBeginProcess, 30, u"Starting process"},
    {Strings, u"sAddFiles", &sAddFiles, 30, u"added files:"},
    {Strings, u"sCreateFileList", &sCreateFileList, 60, u"Creating files list..."},
    {Strings, u"sCopy", &sCopy, 15, u"Copying:"},
    {Strings, u"sDelete", &sDelete, 15, u"Deleting:"},
    {Strings, u"sRemove", &sRemove, 15, u"Moving:"},
    {Strings, u"sSaveInUneven", &sSaveInUneven, 90, u"Предыдущий архив сохраняем в файле для нечетных дней!"},
    {Strings, u"sSaveInEven", &sSaveInEven, 90, u"Предыдущий архив сохраняем в файле для четных дней!"},
    {Strings, u"sTryDelOldArch", &sTryDelOldArch, 60, u"Deleting old archive"},
    {Strings, u"sCreateFolder", &sCreateFolder, 30, u"Creating folder:"},
    {Strings, u"sRunCommand", &sRunCommand, 60, u"Running of command:"},
    {Strings, u"sArchive", &sArchive, 15, u"Archiving:"},
    {Strings, u"sButBreaking", &sButBreaking, 15, u"Breaking..."},
    {Strings, u"sResizeReport", &sResizeReport, 60, u"Ограничение размера файла отчета..."},
    {Strings, u"sComputerName", &sComputerName, 30, u"Computer name"},
    {Strings, u"sInsertNextDisk", &sInsertNextDisk, 90, u"Please, insert next blank disk"},
    {Strings, u"sAlreadyRun", &sAlreadyRun, 30, u"Programm already running!"},
    {Strings, u"sCloseVorrin", &sCloseVorrin, 30, u"Close window"},
    {Strings, u"sJob", &sJob, 30, u"Задание"},
    {Strings, u"sJobFile", &sJobFile, 30, u"Job file"},
    {Strings, u"sAlreadyExists", &sAlreadyExists, 30, u"already exists!"},
    {Strings, u"sRunEditor1", &sRunEditor1, 60, u"Job file is not connected to the program!"},
    {Strings, u"sRunEditor2", &sRunEditor2, 60, u"Do you want to create job file now?"},
    {Strings, u"sNotLoad", &sNotLoad, 15, u"Not loaded!"},
    {Strings, u"sNotTime", &sNotTime, 15, u"Not limited"},
    {Strings, u"sReportBak", &sReportBak, 60, u"Previous file of the report is saved in"},
    {Strings, u"sReportShared", &sReportShared, 90, u"Another run is writing the same report file at the same time:"},
    {Strings, u"sMoveIntoItself", &sMoveIntoItself, 60, u"A folder cannot be moved into itself"},
    {Strings, u"sButClose", &sButClose, 15, u"Exit"},
    {Strings, u"sButBreak", &sButBreak, 15, u"Break"},
    {Strings, u"sUserBroke", &sUserBroke, 60, u"User broke up running the programm!"},
    {Strings, u"sUserCanceled", &sUserCanceled, 60, u"User has cancelled continuation of operation!"},
    {Strings, u"sArchiveRepaired", &sArchiveRepaired, 90,
     u"The archive was damaged and is rebuilt; incomplete entries left out:"},
    {Strings, u"sNoAnswer", &sNoAnswer, 60, u"No answer in an automatic run, cancelled:"},
    {Strings, u"sNoFileAdded", &sNoFileAdded, 90,
     u"No file was added: the sources are empty or every file is excluded"},
    {Strings, u"sArchiveBusy", &sArchiveBusy, 90, u"Another run is writing the archive, it is not copied:"},
    {Strings, u"sNameArch", &sNameArch, 30, u"Archive name:"},
    {Strings, u"sSourceList", &sSourceList, 60, u"Filelist to archiving:"},
    {Strings, u"sCopyTempFile", &sCopyTempFile, 60, u"Copying temporary file into a destination path..."},
    {Strings, u"sExcludeList", &sExcludeList, 15, u"Exclusions:"},
    {Strings, u"sComment", &sComment, 15, u"Comment:"},
    {Strings, u"sCopyEveryDay", &sCopyEveryDay, 30, u"List of daily copies:"},
    {Strings, u"sOnlyOn", &sOnlyOn, 15, u"only on"},
    {Strings, u"sCopyExtend", &sCopyExtend, 30, u"List of additional copies:"},
    {Strings, u"sCopyWeek", &sCopyWeek, 30, u"Copies of weekend:"},
    {Strings, u"sCopyMonth", &sCopyMonth, 30, u"Copies of the end of month:"},
    {Strings, u"sCopyQuart", &sCopyQuart, 30, u"Copies of the end of quarter:"},
    {Strings, u"sCopyYear", &sCopyYear, 30, u"Copies of the end of year:"},
    {Strings, u"sCommandList", &sCommandList, 30, u"List of commands:"},
    {Strings, u"sCommandBefore", &sCommandBefore, 30, u"Before archiving:"},
    {Strings, u"sCommandAfter", &sCommandAfter, 30, u"After archiving:"},
    {Strings, u"sCommandCopy", &sCommandCopy, 15, u"Copy"},
    {Strings, u"sCommandRemove", &sCommandRemove, 15, u"Rename"},
    {Strings, u"sCommandDelete", &sCommandDelete, 15, u"Delete"},
    {Strings, u"sIn", &sIn, 10, u"to"},
    {Strings, u"sEnd", &sEnd, 15, u"End of"},
    {Strings, u"sEndWeek", &sEndWeek, 30, u"week, copying:"},
    {Strings, u"sEndMonth", &sEndMonth, 30, u"month, copying:"},
    {Strings, u"sEndQuart", &sEndQuart, 30, u"quarter, copying:"},
    {Strings, u"sEndYear", &sEndYear, 30, u"year, copying:"},
    {Strings, u"sSecondEven", &sSecondEven, 60, u"Второй подряд четный день!"},
    {Strings, u"sSecondUneven", &sSecondUneven, 60, u"Второй подряд нечетный день!"},
    {Strings, u"sNotFound", &sNotFound, 15, u"File not found"},
    {Strings, u"sSourceNotFount", &sSourceNotFount, 60, u"Data source not found!"},
    {Strings, u"sListExclude", &sListExclude, 30, u"Exclusions:"},
    {Strings, u"sEnterInt", &sEnterInt, 60, u"Enter integer positive number"},
    {Strings, u"sTimeWaiting", &sTimeWaiting, 30, u"Time remaining"},
    {Strings, u"sSizeReport", &sSizeReport, 30, u"Size of report file"},
    {Strings, u"sSizeJournal", &sSizeJournal, 30, u"Size of journal of start"},
    {Strings, u"sReport", &sReport, 30, u"Report of executing"},
    {Strings, u"sJournal", &sJournal, 30, u"Journal of start"},
    {Strings, u"sString1", &sString1, 15, u"String"},
    {Strings, u"sString2", &sString2, 15, u"not found!"},
    {Strings, u"sField1", &sField1, 15, u"Field  <"},
    {Strings, u"sField2", &sField2, 30, u">  cann't be empty!"},
    {Strings, u"sFilterJob", &sFilterJob, 15, u"Job files"},
    {Strings, u"sFilterArch", &sFilterArch, 15, u"Archives"},
    {Strings, u"sFilterComs", &sFilterComs, 15, u"Programs"},
    {Strings, u"sAnyFileName", &sAnyFileName, 15, u"Произвольное"},
    {Strings, u"sCopyOfJob", &sCopyOfJob, 15, u"Copy of job"},
    {Strings, u"sReg1Week", &sReg1Week, 15, u"Weekly"},
    {Strings, u"sReg2Week", &sReg2Week, 15, u"По неделям"},
    {Strings, u"sReg1Month", &sReg1Month, 15, u"Monthly"},
    {Strings, u"sReg2Month", &sReg2Month, 15, u"По месяцам"},
    {Strings, u"sReg1Quart", &sReg1Quart, 15, u"Quarterly"},
    {Strings, u"sReg2Quart", &sReg2Quart, 15, u"По кварталам"},
    {Strings, u"sReg1Year", &sReg1Year, 15, u"Annually"},
    {Strings, u"sReg2Year", &sReg2Year, 15, u"По годам"},
    {Days, u"DOFW0", &DOFW[0], 2, u"Su"},
    {Days, u"DOFW1", &DOFW[1], 2, u"Mo"},
    {Days, u"DOFW2", &DOFW[2], 2, u"Tu"},
    {Days, u"DOFW3", &DOFW[3], 2, u"We"},
    {Days, u"DOFW4", &DOFW[4], 2, u"Th"},
    {Days, u"DOFW5", &DOFW[5], 2, u"Fr"},
    {Days, u"DOFW6", &DOFW[6], 2, u"Sa"},
};

// The texts hold their built-in texts from the start, also in a program that
// never loads a language file.
[[maybe_unused]] const bool builtInTextsSet = (RestoreBuiltInTexts(), true);

// Runs when the application object is made, before any form exists.
void LoadTextsAtStartUp()
{
    LoadLanguageTexts(LanguageFilePath());
}

Q_COREAPP_STARTUP_FUNCTION(LoadTextsAtStartUp)

} // namespace

std::span<const LanguageText> LanguageTexts()
{
    return Table;
}

QString LanguageFilePath()
{
    return platform::programFile(QStringLiteral("Russian.lng"));
}

void LoadLanguageTexts(const LanguageFile &file)
{
    for (const LanguageText &entry : Table) {
        if (const auto value = file.value(entry.section, entry.key))
            *entry.text = value->left(entry.capacity);
    }
}

void LoadLanguageTexts(const QString &path)
{
    LoadLanguageTexts(LanguageFile::load(path));
}

void RestoreBuiltInTexts()
{
    for (const LanguageText &entry : Table)
        *entry.text = entry.builtIn.toString();
}

QString DeleteAmpersand(const QString &caption)
{
    QString result = caption;
    const qsizetype ampersand = result.indexOf(u'&');
    if (ampersand >= 0)
        result.remove(ampersand, 1);
    return result;
}

bool LineHasText(QStringView line, QStringView text)
{
    return !text.isEmpty() && line.contains(text);
}

bool LineStartsWithText(QStringView line, QStringView text)
{
    return !text.isEmpty() && line.startsWith(text);
}

QString DayName(QChar digit)
{
    const int day = digit.unicode() - u'0';
    if (day < 0 || day >= int(DOFW.size()))
        return QString(digit);
    return DOFW[day];
}

QString JobFileFilter()
{
    return sFilterJob + QStringLiteral(" (*.dat)");
}

} // namespace zentavo
