#pragma once
// The save-file dialogs' filters and answer as plain values: the filter
// texts the dialog lists, which one starts selected, and the result made
// from the path and filter the user confirmed.
#include <QString>
#include <QStringList>

#include <vector>

#include "output/save_dialog_values.h"

namespace pw::dialogs {

// "Description (*.ext)" per filter, in order.
QStringList NameFilters(const std::vector<output::FileFilter>& filters);

// The 0-based filter to preselect for a 1-based request; an index outside
// the list falls back to the first filter.
int PreselectedFilter(int filter_index, int filter_count);

// The confirmed dialog: the chosen path as it was given (already absolute,
// no extension added) and the 1-based index of the chosen filter text among
// the listed ones (1 when it is not one of them). The check box states are
// passed on as they are.
output::SaveDialogResult SaveResultFrom(const QString& chosen_path, const QString& chosen_filter,
                                        const QStringList& listed_filters, bool save_file_opt,
                                        bool start_file_opt);

}  // namespace pw::dialogs
