#pragma once

class LanguageFile;
class QWidget;

namespace zentavo {

// Translates a form by the names of its components: the section is the
// form's objectName, each key a component's objectName (a combo box's items
// use the keys name.Items1, name.Items2, ..., a grid's column titles
// name.Columns1, name.Columns2, ...). The sections "Common" and
// "DaysOfWeek" give the captions of the components "ButtonBrowse",
// "ButtonCancel", "ButtonOk", "ButtonHelp" and "DayOfWeek0" to "DayOfWeek6"
// on any form. A missing key leaves its text as it is, so a form may be
// translated again after its texts were set.
void LocalizeForm(QWidget *form, const LanguageFile &file);

// The same from "Russian.lng" beside the executable, read afresh.
void LocalizeForm(QWidget *form);

} // namespace zentavo
