#include "data/tdm1.h"

#include "data/tdm.h"

namespace zep {

TDM1::TDM1(TDM& dm, QObject* parent) : QObject(parent), dm_(dm) {
    QDok.setSql(QStringLiteral("Select *  from dok.db"));
    QAdrLook.setSql(QStringLiteral("SELECT Nr,Name1 from adressen.db"));
    QTheLook.setSql(QStringLiteral("SELECT Nr,Thema from thema.db"));
    DQDok.setDataSet(&QDok);
    connect(&DQDok, &DataSource::dataChanged, this, &TDM1::DQDokDataChange);
}

void TDM1::setDataDir(const QString& dataDir) {
    for (Query* q : {&QDok, &QAdrLook, &QTheLook})
        q->setDirectory(dataDir);
}

void TDM1::CloseDocumentQuery() {
    for (Query* q : {&QDok, &QAdrLook, &QTheLook})
        q->close();
}

bool TDM1::moveDocumentTo(qint64 nr) {
    Table& dok = dm_.TDok;
    const bool primaryOrder = dok.indexName().isEmpty() && dok.indexFieldNames().isEmpty();
    return primaryOrder ? dok.findKey({nr}) : dok.locate(u"Nr", nr);
}

// A document missing from TDok is looked for once more after a refresh; when it is still missing,
// TDok stays where it is and the note editor shows nothing, so no note is stored into that record.
void TDM1::DQDokDataChange() {
    if (QDok.state() != DataSetState::Browse || !dm_.TDok.isActive())
        return;
    dm_.SaveNote();
    if (QDok.isEmpty()) {
        dm_.showNoDocument();
        return;
    }
    const qint64 nr = QDok.field(u"Nr").asInteger();
    if (moveDocumentTo(nr))
        return;
    dm_.TDok.refresh();
    if (!moveDocumentTo(nr))
        dm_.showNoDocument();
}

} // namespace zep
