FormZentavo=ZentavoWindow.htm
FormPause=PauseWindow.htm
FormRep=ReportViewer.htm
TrayForm=Scheduler.htm
FormVorrin=Settings.htm
FormEditor=EdMainWindow.htm
CommandLine=CommandLine.htm
CreateJob=CreateJob.htm
