#include "shell/dialogs/data_file_findings.h"

namespace shell {

DataFileFindings::DataFileFindings(QWidget* parent) : QListWidget(parent) {
    setObjectName(QStringLiteral("findings"));
    hide();
    connect(this, &QListWidget::itemActivated, this, [this](QListWidgetItem* item) {
        const int line = item->data(Qt::UserRole).toInt();
        if (line > 0) emit line_chosen(line);
    });
}

void DataFileFindings::show_findings(const std::vector<check::Finding>& findings) {
    clear();
    for (const check::Finding& finding : findings) {
        const QString kind = finding.severity == check::Severity::error ? QStringLiteral("오류")
                                                                        : QStringLiteral("경고");
        const QString where = finding.line > 0 ? QStringLiteral("%1번째 줄").arg(finding.line)
                                               : QStringLiteral("화일 전체");
        auto* item = new QListWidgetItem(
            QStringLiteral("%1: %2: %3").arg(where, kind, QString::fromStdString(finding.message)),
            this);
        item->setData(Qt::UserRole, finding.line);
    }
    setVisible(!findings.empty());
}

}  // namespace shell
