#include "data/statement.h"

#include "data/connection.h"
#include "data/fb_client.h"
#include "data/sql_parameters.h"
#include "data/transaction.h"

#include <cstring>

using namespace Qt::StringLiterals;

namespace livrax::data {

namespace {

constexpr unsigned BlobSegment = 32000;

template <typename T> T ReadAt(const QByteArray& buffer, unsigned offset) {
    T value;
    std::memcpy(&value, buffer.constData() + offset, sizeof(T));
    return value;
}

template <typename T> void WriteAt(QByteArray& buffer, unsigned offset, T value) {
    std::memcpy(buffer.data() + offset, &value, sizeof(T));
}

QVector<Statement::Column> DescribeColumns(Firebird::ThrowStatusWrapper* status,
                                           Firebird::IMessageMetadata* meta) {
    QVector<Statement::Column> columns;
    const unsigned count = meta->getCount(status);
    columns.reserve(int(count));
    for (unsigned i = 0; i < count; ++i) {
        Statement::Column column;
        column.name = QString::fromUtf8(meta->getAlias(status, i)).trimmed();
        column.field = QString::fromUtf8(meta->getField(status, i)).trimmed();
        column.relation = QString::fromUtf8(meta->getRelation(status, i)).trimmed();
        column.type = meta->getType(status, i) & ~1u;
        column.subType = meta->getSubType(status, i);
        column.scale = meta->getScale(status, i);
        column.length = meta->getLength(status, i);
        column.offset = meta->getOffset(status, i);
        column.nullOffset = meta->getNullOffset(status, i);
        columns.append(column);
    }
    return columns;
}

// Reads a date text in the forms a caller may pass for a DATE parameter.
QDate ParseDateText(const QString& text) {
    const QString trimmed = text.trimmed();
    for (const char16_t* format : {u"yyyy-MM-dd", u"dd.MM.yyyy", u"dd/MM/yyyy"}) {
        const QDate date = QDate::fromString(trimmed, QString::fromUtf16(format));
        if (date.isValid()) return date;
    }
    return {};
}

QString PlainDecimalText(const DbValue& value) {
    return value.kind() == DbValue::Kind::Decimal ? value.toString().replace(u',', u'.')
                                                  : value.toString();
}

} // namespace

Statement::Statement(Connection& connection, Transaction& transaction, const QString& sql)
    : m_connection(connection), m_transaction(transaction), m_sql(sql) {
    if (!connection.isConnected()) throw DbError(u"Banco de dados não conectado"_s);
    if (!transaction.isActive()) throw DbError(u"Transação não iniciada"_s);
    const PositionalSql positional = ToPositionalSql(sql);
    m_parameterNames = positional.names;
    m_statement = fb::Call(QString(), [&](auto* status) {
        return connection.attachment()->prepare(status, transaction.handle(), 0,
                                                fb::EncodeText(positional.sql).constData(), 3,
                                                Firebird::IStatement::PREPARE_PREFETCH_METADATA);
    });
    try {
        prepareMessages();
    } catch (...) {
        m_statement->release();
        if (m_inputMeta) m_inputMeta->release();
        if (m_outputMeta) m_outputMeta->release();
        throw;
    }
}

Statement::~Statement() {
    close();
    if (m_inputMeta) m_inputMeta->release();
    if (m_outputMeta) m_outputMeta->release();
    if (m_statement) m_statement->release();
}

void Statement::prepareMessages() {
    fb::Call(QString(), [&](auto* status) {
        m_hasCursor = (m_statement->getFlags(status) & Firebird::IStatement::FLAG_HAS_CURSOR) != 0;

        // Parameters travel in a message of our own layout: every number as a
        // 64-bit integer with the column's scale, every text as VARCHAR, so the
        // binding code handles few types and never goes through double.
        Firebird::IMessageMetadata* declared = m_statement->getInputMetadata(status);
        Firebird::IMetadataBuilder* builder = declared->getBuilder(status);
        const unsigned count = declared->getCount(status);
        for (unsigned i = 0; i < count; ++i) {
            const unsigned type = declared->getType(status, i) & ~1u;
            switch (type) {
            case SQL_TEXT:
            case SQL_VARYING:
                builder->setType(status, i, SQL_VARYING | 1);
                builder->setLength(status, i, declared->getLength(status, i));
                break;
            case SQL_SHORT:
            case SQL_LONG:
            case SQL_INT64:
                builder->setType(status, i, SQL_INT64 | 1);
                builder->setLength(status, i, sizeof(qint64));
                builder->setScale(status, i, declared->getScale(status, i));
                break;
            case SQL_FLOAT:
            case SQL_DOUBLE:
            case SQL_D_FLOAT:
                builder->setType(status, i, SQL_DOUBLE | 1);
                builder->setLength(status, i, sizeof(double));
                break;
            default:
                builder->setType(status, i, type | 1);
                break;
            }
        }
        m_inputMeta = builder->getMetadata(status);
        builder->release();
        declared->release();
        m_parameters = DescribeColumns(status, m_inputMeta);
        m_inputBuffer = QByteArray(int(m_inputMeta->getMessageLength(status)), '\0');

        m_outputMeta = m_statement->getOutputMetadata(status);
        m_columns = DescribeColumns(status, m_outputMeta);
        m_outputBuffer = QByteArray(int(m_outputMeta->getMessageLength(status)), '\0');
    });
    for (int i = 0; i < m_columns.size(); ++i) {
        m_columnByName.insert(m_columns[i].name.toUpper(), i);
    }
    for (int i = 0; i < m_columns.size(); ++i) {
        const QString field = m_columns[i].field.toUpper();
        if (!field.isEmpty() && !m_columnByName.contains(field)) m_columnByName.insert(field, i);
    }
    if (m_parameterNames.size() != m_parameters.size()) {
        throw DbError(u"Parâmetros não reconhecidos em: "_s + m_sql);
    }
    m_parameterValues.resize(m_parameters.size());
    for (int i = 0; i < m_parameterNames.size(); ++i) {
        if (!m_parameterNames[i].isEmpty()) m_positionsByName[m_parameterNames[i]].append(i);
    }
}

void Statement::bind(const QString& name, const DbValue& value) {
    auto positions = m_positionsByName.constFind(name);
    if (positions == m_positionsByName.cend())
        positions = m_positionsByName.constFind(name.startsWith(u':') ? name.mid(1).toUpper()
                                                                      : name.toUpper());
    if (positions == m_positionsByName.cend()) throw DbError(u"Parâmetro inexistente: "_s + name);
    for (int position : *positions)
        m_parameterValues[position] = value;
}

void Statement::bind(int position, const DbValue& value) {
    if (position < 0 || position >= m_parameterValues.size())
        throw DbError(u"Parâmetro inexistente: "_s + QString::number(position));
    m_parameterValues[position] = value;
}

void Statement::clearBindings() {
    for (DbValue& value : m_parameterValues)
        value = DbValue();
}

void Statement::encodeParameter(int position) {
    const Column& parameter = m_parameters[position];
    const DbValue& value = m_parameterValues[position];
    const QString label = m_parameterNames[position].isEmpty() ? QString::number(position + 1)
                                                               : m_parameterNames[position];
    WriteAt<short>(m_inputBuffer, parameter.nullOffset, value.isNull() ? -1 : 0);
    if (value.isNull()) return;
    const auto invalid = [&]() {
        return DbError(u"Valor inválido para o parâmetro "_s + label + u": "_s + value.toString());
    };
    switch (parameter.type) {
    case SQL_VARYING: {
        const QByteArray bytes = fb::EncodeText(PlainDecimalText(value));
        if (unsigned(bytes.size()) > parameter.length)
            throw DbError(u"Texto longo demais para o parâmetro "_s + label);
        WriteAt<quint16>(m_inputBuffer, parameter.offset, quint16(bytes.size()));
        std::memcpy(m_inputBuffer.data() + parameter.offset + 2, bytes.constData(),
                    size_t(bytes.size()));
        break;
    }
    case SQL_INT64: {
        qint64 unscaled = 0;
        bool ok = false;
        if (value.kind() == DbValue::Kind::Decimal)
            ok = Rescale(value.unscaled(), value.scale(), -parameter.scale, &unscaled);
        else if (value.kind() == DbValue::Kind::Text)
            ok = ParseDecimal(value.toString(), -parameter.scale, &unscaled);
        else if (value.kind() == DbValue::Kind::Bool)
            ok = Rescale(value.toInt(), 0, -parameter.scale, &unscaled);
        if (!ok) throw invalid();
        WriteAt<qint64>(m_inputBuffer, parameter.offset, unscaled);
        break;
    }
    case SQL_DOUBLE:
        WriteAt<double>(m_inputBuffer, parameter.offset, value.toDouble());
        break;
    case SQL_TYPE_DATE: {
        const QDate date =
            value.kind() == DbValue::Kind::Text ? ParseDateText(value.toString()) : value.toDate();
        if (!date.isValid()) throw invalid();
        WriteAt<ISC_DATE>(m_inputBuffer, parameter.offset,
                          fb::Util()->encodeDate(unsigned(date.year()), unsigned(date.month()),
                                                 unsigned(date.day())));
        break;
    }
    case SQL_TYPE_TIME: {
        const QTime time = value.toTime();
        if (!time.isValid()) throw invalid();
        WriteAt<ISC_TIME>(m_inputBuffer, parameter.offset,
                          fb::Util()->encodeTime(unsigned(time.hour()), unsigned(time.minute()),
                                                 unsigned(time.second()),
                                                 unsigned(time.msec()) * 10));
        break;
    }
    case SQL_TIMESTAMP: {
        QDateTime moment = value.toDateTime();
        if (value.kind() == DbValue::Kind::Text)
            moment = QDateTime(ParseDateText(value.toString()), QTime(0, 0));
        if (!moment.isValid()) throw invalid();
        ISC_TIMESTAMP stamp;
        stamp.timestamp_date =
            fb::Util()->encodeDate(unsigned(moment.date().year()), unsigned(moment.date().month()),
                                   unsigned(moment.date().day()));
        stamp.timestamp_time = fb::Util()->encodeTime(
            unsigned(moment.time().hour()), unsigned(moment.time().minute()),
            unsigned(moment.time().second()), unsigned(moment.time().msec()) * 10);
        WriteAt<ISC_TIMESTAMP>(m_inputBuffer, parameter.offset, stamp);
        break;
    }
    case SQL_BOOLEAN:
        WriteAt<FB_BOOLEAN>(m_inputBuffer, parameter.offset, value.toBool() ? FB_TRUE : FB_FALSE);
        break;
    case SQL_BLOB: {
        const QByteArray bytes = fb::EncodeText(PlainDecimalText(value));
        ISC_QUAD id;
        fb::Call(QString(), [&](auto* status) {
            Firebird::IBlob* blob = m_connection.attachment()->createBlob(
                status, m_activeTransaction->handle(), &id, 0, nullptr);
            try {
                for (qsizetype done = 0; done < bytes.size(); done += BlobSegment) {
                    const unsigned piece =
                        unsigned(qMin<qsizetype>(BlobSegment, bytes.size() - done));
                    blob->putSegment(status, piece, bytes.constData() + done);
                }
                blob->close(status); // releases the interface on success
            } catch (...) {
                blob->release();
                throw;
            }
        });
        WriteAt<ISC_QUAD>(m_inputBuffer, parameter.offset, id);
        break;
    }
    default:
        throw DbError(u"Tipo de parâmetro não suportado: "_s + label);
    }
}

void Statement::resetInput() {
    for (int i = 0; i < m_parameters.size(); ++i)
        encodeParameter(i);
}

void Statement::execute() {
    execute(m_transaction);
}

void Statement::execute(Transaction& transaction) {
    close();
    m_activeTransaction = &transaction;
    resetInput();
    fb::Call(QString(), [&](auto* status) {
        m_statement->execute(status, transaction.handle(), m_inputMeta, m_inputBuffer.data(),
                             m_columns.isEmpty() ? nullptr : m_outputMeta,
                             m_columns.isEmpty() ? nullptr : m_outputBuffer.data());
    });
    m_hasRow = !m_columns.isEmpty();
}

qint64 Statement::affectedRows() {
    return fb::Call(QString(),
                    [&](auto* status) { return qint64(m_statement->getAffectedRecords(status)); });
}

void Statement::open() {
    open(m_transaction);
}

void Statement::open(Transaction& transaction) {
    close();
    m_activeTransaction = &transaction;
    resetInput();
    m_cursor = fb::Call(QString(), [&](auto* status) {
        return m_statement->openCursor(status, transaction.handle(), m_inputMeta,
                                       m_inputBuffer.data(), m_outputMeta, 0);
    });
}

bool Statement::fetch() {
    if (!m_cursor) return false;
    const int result = fb::Call(QString(), [&](auto* status) {
        return m_cursor->fetchNext(status, m_outputBuffer.data());
    });
    m_hasRow = result == Firebird::IStatus::RESULT_OK;
    if (!m_hasRow) close();
    return m_hasRow;
}

void Statement::close() {
    m_hasRow = false;
    if (!m_cursor) return;
    fb::CallStatus status;
    try {
        m_cursor->close(status.get()); // releases the interface on success
    } catch (const Firebird::FbException&) {
        m_cursor->release();
    }
    m_cursor = nullptr;
}

int Statement::columnIndex(const QString& name) const {
    RecentName& recent = m_recentNames[(quintptr(name.constData()) >> 4) % m_recentNames.size()];
    if (recent.index >= 0 && recent.name.constData() == name.constData() &&
        recent.name.size() == name.size())
        return recent.index;
    // Callers mostly name columns as the engine does (upper case): try the
    // name as given before making an upper-case copy.
    const auto exact = m_columnByName.constFind(name);
    const int index =
        exact != m_columnByName.cend() ? *exact : m_columnByName.value(name.toUpper(), -1);
    if (index >= 0) recent = {name, index};
    return index;
}

DbValue Statement::value(const QString& name) const {
    const int index = columnIndex(name);
    if (index < 0) throw DbError(u"Coluna inexistente: "_s + name);
    return value(index);
}

DbValue Statement::value(int index) const {
    if (index < 0 || index >= m_columns.size() || !m_hasRow) return {};
    const Column& column = m_columns[index];
    if (ReadAt<short>(m_outputBuffer, column.nullOffset) != 0) return {};
    const char* data = m_outputBuffer.constData() + column.offset;
    switch (column.type) {
    case SQL_TEXT:
        return fb::DecodeText(data, int(column.length));
    case SQL_VARYING:
        return fb::DecodeText(data + 2, ReadAt<quint16>(m_outputBuffer, column.offset));
    case SQL_SHORT:
        return DbValue::decimal(ReadAt<qint16>(m_outputBuffer, column.offset), -column.scale);
    case SQL_LONG:
        return DbValue::decimal(ReadAt<qint32>(m_outputBuffer, column.offset), -column.scale);
    case SQL_INT64:
        return DbValue::decimal(ReadAt<qint64>(m_outputBuffer, column.offset), -column.scale);
    case SQL_FLOAT:
        return DbValue::fromDouble(ReadAt<float>(m_outputBuffer, column.offset));
    case SQL_DOUBLE:
    case SQL_D_FLOAT:
        return DbValue::fromDouble(ReadAt<double>(m_outputBuffer, column.offset));
    case SQL_TYPE_DATE: {
        unsigned year = 0, month = 0, day = 0;
        fb::Util()->decodeDate(ReadAt<ISC_DATE>(m_outputBuffer, column.offset), &year, &month,
                               &day);
        return QDate(int(year), int(month), int(day));
    }
    case SQL_TYPE_TIME: {
        unsigned hours = 0, minutes = 0, seconds = 0, fractions = 0;
        fb::Util()->decodeTime(ReadAt<ISC_TIME>(m_outputBuffer, column.offset), &hours, &minutes,
                               &seconds, &fractions);
        return QTime(int(hours), int(minutes), int(seconds), int(fractions / 10));
    }
    case SQL_TIMESTAMP: {
        const auto stamp = ReadAt<ISC_TIMESTAMP>(m_outputBuffer, column.offset);
        unsigned year = 0, month = 0, day = 0, hours = 0, minutes = 0, seconds = 0, fractions = 0;
        fb::Util()->decodeDate(stamp.timestamp_date, &year, &month, &day);
        fb::Util()->decodeTime(stamp.timestamp_time, &hours, &minutes, &seconds, &fractions);
        return QDateTime(QDate(int(year), int(month), int(day)),
                         QTime(int(hours), int(minutes), int(seconds), int(fractions / 10)));
    }
    case SQL_BOOLEAN:
        return bool(ReadAt<FB_BOOLEAN>(m_outputBuffer, column.offset));
    case SQL_BLOB: {
        ISC_QUAD id = ReadAt<ISC_QUAD>(m_outputBuffer, column.offset);
        QByteArray bytes;
        fb::Call(QString(), [&](auto* status) {
            Firebird::IBlob* blob = m_connection.attachment()->openBlob(
                status, m_activeTransaction->handle(), &id, 0, nullptr);
            try {
                char segment[BlobSegment];
                unsigned length = 0;
                for (;;) {
                    const int state = blob->getSegment(status, sizeof segment, segment, &length);
                    if (state != Firebird::IStatus::RESULT_OK &&
                        state != Firebird::IStatus::RESULT_SEGMENT)
                        break;
                    bytes.append(segment, int(length));
                }
                blob->close(status);
            } catch (...) {
                blob->release();
                throw;
            }
        });
        return fb::DecodeText(bytes.constData(), int(bytes.size()));
    }
    default:
        return {};
    }
}

} // namespace livrax::data
