#include "dialogs/save_dialog_choice.h"

namespace pw::dialogs {

QStringList NameFilters(const std::vector<output::FileFilter>& filters) {
  QStringList texts;
  texts.reserve(static_cast<qsizetype>(filters.size()));
  for (const output::FileFilter& f : filters) {
    texts << QStringLiteral("%1 (%2)").arg(QString::fromStdString(f.description), QString::fromStdString(f.pattern));
  }
  return texts;
}

int PreselectedFilter(int filter_index, int filter_count) {
  return filter_index >= 1 && filter_index <= filter_count ? filter_index - 1 : 0;
}

output::SaveDialogResult SaveResultFrom(const QString& chosen_path, const QString& chosen_filter,
                                        const QStringList& listed_filters, bool save_file_opt,
                                        bool start_file_opt) {
  output::SaveDialogResult result;
  result.path = chosen_path.toStdString();
  result.filter_index = static_cast<int>(listed_filters.indexOf(chosen_filter)) + 1;
  if (result.filter_index < 1) result.filter_index = 1;
  result.save_file_opt = save_file_opt;
  result.start_file_opt = start_file_opt;
  return result;
}

}  // namespace pw::dialogs
