#pragma once

// The one question before a step that would replace work the device does not
// hold yet: "Изменения не записаны в АС: ..." naming what would be lost and
// what the step does, "Нет" by default.

#include <QString>
#include <QStringList>

class UserDialogs;

QString UnsentWorkQuestion(const QStringList& unsent, const QString& step);
// True when nothing is unsent or the user answered "Да".
bool ConfirmOverUnsentWork(UserDialogs& dialogs, const QStringList& unsent, const QString& step);

// The steps the question names.
QString StepReadFromDevice();  // reading from the device over them
QString StepLoadFile();        // loading a file over them
QString StepCloseProgram();    // closing the program
