#pragma once
// The texts of the import's choice of columns.

#include <QString>
#include <string>

namespace texts {

QString ColumnsDialogTitle();
QString EncodingLabel();
QString DelimiterLabel();
QString HeaderRowLabel();
QString SourceRowsLabel();
QString PreviewRowsLabel();
QString ProblemsColumn();
QString TabDelimiter();
// A row of the file by its line: "Строка 3".
QString LineCaption(int line);
// What a column may be taken as, by its key; empty for a column not taken.
QString ColumnTargetCaption(const std::string& key);
// Where the dialog's choice came from.
QString RememberedChoiceNote();
QString GuessedChoiceNote();
// Said after the import's report when the choice could not be kept.
QString ChoiceNotRemembered(const QString& cause);

}  // namespace texts
