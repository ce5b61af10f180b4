#pragma once

#include <QDialog>
#include <QStringList>

class QListWidget;

namespace tw {

/// File > New's choice of a document type.
class NewDocumentDialog : public QDialog
{
    Q_OBJECT

public:
    NewDocumentDialog(const QStringList &names, QWidget *parent = nullptr);
    QListWidget *list() const { return list_; }
    int chosen() const;

private:
    QListWidget *list_;
};

} // namespace tw
