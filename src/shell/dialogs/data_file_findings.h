#pragma once
// The list under the data-file editor that shows what the data checker found in the file just
// saved, one line a finding with its line number. Choosing a finding asks to go to its line.
// The save itself is never refused: the list only informs.

#include <QListWidget>

#include <vector>

#include "check/data_checker.h"

namespace shell {

class DataFileFindings : public QListWidget {
    Q_OBJECT

  public:
    explicit DataFileFindings(QWidget* parent);

    // Shows the findings, or hides the list when there are none.
    void show_findings(const std::vector<check::Finding>& findings);

  signals:
    // The user chose a finding that names a line (1-based).
    void line_chosen(int line);
};

}  // namespace shell
