#pragma once

#include "app/Unit1.h"

#include <QLineEdit>

// Chooses a face or a file of the main window's lists by its text, as a click on it
// would; one not in the list leaves nothing chosen.
inline void chooseFace(TForm1& form, const QString& face)
{
    form.ListBox1->setItemIndex(int(form.ListBox1->Items().indexOf(face)));
    form.ListBox1Click();
}

inline void chooseFile(TForm1& form, const QString& file)
{
    form.FileListBox1->setItemIndex(int(form.FileListBox1->Items().indexOf(file)));
    form.FileListBox1Click();
}

// The file view's four fields as one line: "name | folder | face | size".
inline QString fileFields(const TForm1& form)
{
    return QStringList{form.Edit3->text(), form.Edit4->text(), form.Edit5->text(), form.Edit6->text()}.join(" | ");
}
