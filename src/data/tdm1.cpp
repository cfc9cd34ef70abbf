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

// The key search already asks the file again before it misses; a document still missing leaves TDok
// where it is and the note editor shows nothing, so no note is stored into that record.
void TDM1::DQDokDataChange() {
    if (QDok.state() != DataSetState::Browse || !dm_.TDok.isActive())
        return;
    dm_.SaveNote();
    if (QDok.isEmpty() || !moveDocumentTo(QDok.field(u"Nr").asInteger()))
        dm_.showNoDocument();
}

} // namespace zep
