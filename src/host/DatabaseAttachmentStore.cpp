#include "DatabaseAttachmentStore.h"

#include "Connection.h"
#include "Recordset.h"
#include "SqlText.h"
#include "SuiteError.h"

bool DatabaseAttachmentStore::HasMedia(const QString& mediaId) const {
    if (!connection_)
        throw SuiteError(SuiteError::kConnectionFailed, QStringLiteral("Allegati"),
                         QStringLiteral("Archivio allegati senza connessione."));
    Recordset rs;
    rs.Open(QStringLiteral("SELECT COUNT(*) AS N FROM KV05_ALLEGATI WITH (NOLOCK) WHERE KV05_IDMEDIA = ") +
                SqlText::quote(mediaId.trimmed()),
            connection_);
    return rs.Fields(0).Value().toInt() > 0;
}
