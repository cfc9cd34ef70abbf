#pragma once

#include "data/data_source.h"
#include "data/query.h"

#include <QObject>

namespace zep {

class TDM;

// The query module: the queries behind the main window's document list.
class TDM1 : public QObject {
    Q_OBJECT
public:
    explicit TDM1(TDM& dm, QObject* parent = nullptr);

    void setDataDir(const QString& dataDir);
    void CloseDocumentQuery();
    // Keeps TDok on the document selected in the list, storing a modified note first.
    void DQDokDataChange();

    Query QDok, QAdrLook, QTheLook;
    DataSource DQDok;

private:
    bool moveDocumentTo(qint64 nr);

    TDM& dm_;
};

} // namespace zep
