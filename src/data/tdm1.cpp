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

void TDM1::DQDokDataChange() {
    if (QDok.state() != DataSetState::Browse || !dm_.TDok.isActive())
        return;
    dm_.SaveNote();
    if (QDok.isEmpty())
        return;
    const qint64 nr = QDok.field(u"Nr").asInteger();
    const bool primaryOrder = dm_.TDok.indexName().isEmpty() && dm_.TDok.indexFieldNames().isEmpty();
    if (primaryOrder)
        dm_.TDok.findKey({nr});
    else
        dm_.TDok.locate(u"Nr", nr);
}

} // namespace zep
