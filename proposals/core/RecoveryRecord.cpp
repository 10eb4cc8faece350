// The recovery record's SQLite database: opening (with damaged and foreign
// files moved aside), recording, finding and removing proposals.
#include "RecoveryRecord.h"

#include <sqlite3.h>

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QStandardPaths>

namespace proposals {

namespace {

// Marks the file as this program's ("KLAV" in ASCII), and its layout.
constexpr int kApplicationId = 0x4B4C4156;
constexpr int kLayoutVersion = 1;

constexpr const char* kCreateTable =
    "CREATE TABLE IF NOT EXISTS PROPOSTA ("
    " NOM_ARQUIVO TEXT NOT NULL,"
    " NRO_FORNECEDOR TEXT NOT NULL,"
    " NRO_LOTE INTEGER NOT NULL,"
    " NRO_ITEM INTEGER NOT NULL,"
    " DES_MARCA TEXT NOT NULL,"
    " QTD_PROPOSTA REAL NOT NULL,"
    " VLR_PROPOSTA REAL NOT NULL,"
    " VLR_TOTALPROPOSTA REAL NOT NULL,"
    " DAT_GRAVACAO INTEGER NOT NULL,"  // milliseconds since 1970 (UTC)
    " PRIMARY KEY (NOM_ARQUIVO, NRO_FORNECEDOR, NRO_LOTE, NRO_ITEM)"
    ") WITHOUT ROWID";

constexpr const char* kSave =
    "INSERT OR REPLACE INTO PROPOSTA (NOM_ARQUIVO, NRO_FORNECEDOR, NRO_LOTE, NRO_ITEM, DES_MARCA,"
    " QTD_PROPOSTA, VLR_PROPOSTA, VLR_TOTALPROPOSTA, DAT_GRAVACAO) VALUES (?, ?, ?, ?, ?, ?, ?, ?, ?)";

constexpr const char* kFind =
    "SELECT NRO_LOTE, NRO_ITEM, DES_MARCA, QTD_PROPOSTA, VLR_PROPOSTA, VLR_TOTALPROPOSTA, DAT_GRAVACAO"
    " FROM PROPOSTA WHERE NOM_ARQUIVO = ? AND NRO_FORNECEDOR = ? ORDER BY NRO_LOTE, NRO_ITEM";

constexpr const char* kRemove = "DELETE FROM PROPOSTA WHERE NOM_ARQUIVO = ? AND NRO_FORNECEDOR = ?";

// The SQLite files that belong to one database file.
constexpr const char* kCompanions[] = {"-wal", "-shm", "-journal"};

QByteArray nativePath(const QString& path) { return QFile::encodeName(path); }

class Statement {
 public:
  Statement(sqlite3* db, const char* sql) { sqlite3_prepare_v2(db, sql, -1, &handle_, nullptr); }
  ~Statement() { sqlite3_finalize(handle_); }
  Statement(const Statement&) = delete;
  Statement& operator=(const Statement&) = delete;
  sqlite3_stmt* get() const { return handle_; }
  explicit operator bool() const { return handle_ != nullptr; }

 private:
  sqlite3_stmt* handle_ = nullptr;
};

void bindText(sqlite3_stmt* statement, int index, const QString& text) {
  const QByteArray utf8 = text.toUtf8();
  sqlite3_bind_text(statement, index, utf8.constData(), static_cast<int>(utf8.size()), SQLITE_TRANSIENT);
}

bool exec(sqlite3* db, const char* sql) { return sqlite3_exec(db, sql, nullptr, nullptr, nullptr) == SQLITE_OK; }

// What an existing file turned out to be.
enum class FileKind { Usable, Foreign, Damaged, Unreadable };

// One integer from a pragma; the SQLite result code when it fails.
int pragmaInteger(sqlite3* db, const char* sql, int& value) {
  Statement statement(db, sql);
  if (!statement) return sqlite3_errcode(db);
  const int rc = sqlite3_step(statement.get());
  if (rc != SQLITE_ROW) return rc == SQLITE_DONE ? SQLITE_CORRUPT : rc;
  value = sqlite3_column_int(statement.get(), 0);
  return SQLITE_OK;
}

bool isDamageCode(int rc) { return (rc & 0xff) == SQLITE_NOTADB || (rc & 0xff) == SQLITE_CORRUPT; }

FileKind classify(const QString& path) {
  const QFileInfo info(path);
  if (!info.exists() || (info.isFile() && info.size() == 0)) return FileKind::Usable;
  if (!info.isFile()) return FileKind::Unreadable;
  sqlite3* db = nullptr;
  const int opened = sqlite3_open_v2(nativePath(path).constData(), &db, SQLITE_OPEN_READWRITE, nullptr);
  struct Closer {
    sqlite3* db;
    ~Closer() { sqlite3_close_v2(db); }
  } closer{db};
  if (opened != SQLITE_OK) return isDamageCode(opened) ? FileKind::Damaged : FileKind::Unreadable;
  sqlite3_busy_timeout(db, 2000);
  int applicationId = 0;
  int rc = pragmaInteger(db, "PRAGMA application_id", applicationId);
  if (rc != SQLITE_OK) return isDamageCode(rc) ? FileKind::Damaged : FileKind::Unreadable;
  int objects = 0;
  rc = pragmaInteger(db, "SELECT count(*) FROM sqlite_schema", objects);
  if (rc != SQLITE_OK) return isDamageCode(rc) ? FileKind::Damaged : FileKind::Unreadable;
  // A file made by this program and killed before its table was created.
  if (applicationId == 0 && objects == 0) return FileKind::Usable;
  int version = 0;
  if (applicationId != kApplicationId || pragmaInteger(db, "PRAGMA user_version", version) != SQLITE_OK ||
      version != kLayoutVersion) {
    return FileKind::Foreign;
  }
  Statement check(db, "PRAGMA quick_check");
  if (!check) return isDamageCode(sqlite3_errcode(db)) ? FileKind::Damaged : FileKind::Unreadable;
  rc = sqlite3_step(check.get());
  if (rc != SQLITE_ROW) return isDamageCode(rc) ? FileKind::Damaged : FileKind::Unreadable;
  const auto* answer = reinterpret_cast<const char*>(sqlite3_column_text(check.get(), 0));
  if (!answer || QByteArray(answer) != "ok") return FileKind::Damaged;
  Statement table(db, "SELECT NOM_ARQUIVO, NRO_FORNECEDOR, NRO_LOTE, NRO_ITEM, DES_MARCA, QTD_PROPOSTA,"
                      " VLR_PROPOSTA, VLR_TOTALPROPOSTA, DAT_GRAVACAO FROM PROPOSTA LIMIT 0");
  return table ? FileKind::Usable : FileKind::Foreign;
}

// Moves the file and its journal files to a free name beside it; answers the
// new file name, or nothing when it could not be moved.
std::optional<QString> moveAside(const QString& path) {
  const QFileInfo info(path);
  const QString stem = info.completeBaseName() + QStringLiteral("-danificado-") +
                       QDateTime::currentDateTime().toString(QStringLiteral("yyyyMMdd-hhmmss"));
  QString target;
  for (int attempt = 1;; ++attempt) {
    const QString suffix = attempt == 1 ? QString() : QStringLiteral("-%1").arg(attempt);
    target = info.dir().filePath(stem + suffix + QStringLiteral(".") + info.suffix());
    bool taken = QFileInfo::exists(target);
    for (const char* companion : kCompanions) taken = taken || QFileInfo::exists(target + QLatin1String(companion));
    if (!taken) break;
  }
  if (!QFile::rename(path, target)) return std::nullopt;
  for (const char* companion : kCompanions) {
    const QString from = path + QLatin1String(companion);
    // A journal left beside the new file would be read into it.
    if (QFileInfo::exists(from) && !QFile::rename(from, target + QLatin1String(companion))) QFile::remove(from);
  }
  return QFileInfo(target).fileName();
}

}  // namespace

struct RecoveryRecord::Database {
  sqlite3* handle = nullptr;
  sqlite3_stmt* save = nullptr;  // prepared once: a "Gravar" only binds and steps

  ~Database() {
    sqlite3_finalize(save);
    sqlite3_close_v2(handle);
  }
};

RecoveryRecord::RecoveryRecord(QString folder) : folder_(std::move(folder)) {}

RecoveryRecord::~RecoveryRecord() = default;

QString RecoveryRecord::defaultFolder() {
  return QStandardPaths::writableLocation(QStandardPaths::AppDataLocation);
}

QString RecoveryRecord::fileName() { return QStringLiteral("recuperacao.db"); }

QString RecoveryRecord::filePath() const { return QDir(folder_).filePath(fileName()); }

bool RecoveryRecord::isOpen() const { return db_ != nullptr; }

RecoveryOpening RecoveryRecord::open() {
  RecoveryOpening opening;
  if (db_) {
    opening.state = RecoveryState::Ready;
    return opening;
  }
  if (folder_.isEmpty() || !QDir().mkpath(folder_)) return opening;
  const QString path = filePath();
  switch (classify(path)) {
    case FileKind::Usable:
      break;
    case FileKind::Unreadable:
      return opening;
    case FileKind::Foreign:
    case FileKind::Damaged: {
      const std::optional<QString> moved = moveAside(path);
      if (!moved) return opening;
      opening.renamedTo = *moved;
      break;
    }
  }
  auto db = std::make_unique<Database>();
  if (sqlite3_open_v2(nativePath(path).constData(), &db->handle, SQLITE_OPEN_READWRITE | SQLITE_OPEN_CREATE,
                      nullptr) != SQLITE_OK) {
    return opening;
  }
  sqlite3_busy_timeout(db->handle, 2000);
  // Write-ahead log: a commit is in the log before the call returns, so a
  // killed process keeps it; NORMAL syncs at checkpoints only, which a power
  // cut may cost the last few commits. Where the log cannot be used the
  // rollback journal (with a sync per commit) keeps the same promise.
  exec(db->handle, "PRAGMA journal_mode=WAL");
  if (!exec(db->handle, "PRAGMA synchronous=NORMAL")) return opening;
  const QByteArray layout = QByteArray("BEGIN IMMEDIATE; ") + kCreateTable +
                            "; PRAGMA application_id=" + QByteArray::number(kApplicationId) +
                            "; PRAGMA user_version=" + QByteArray::number(kLayoutVersion) + "; COMMIT";
  if (!exec(db->handle, layout.constData())) {
    exec(db->handle, "ROLLBACK");
    return opening;
  }
  if (sqlite3_prepare_v2(db->handle, kSave, -1, &db->save, nullptr) != SQLITE_OK) return opening;
  db_ = std::move(db);
  opening.state = RecoveryState::Ready;
  return opening;
}

bool RecoveryRecord::save(const RecoveryKey& key, const RecoveredItem& item, const QDateTime& when) {
  if (!db_) return false;
  sqlite3_stmt* statement = db_->save;
  sqlite3_reset(statement);
  sqlite3_clear_bindings(statement);
  bindText(statement, 1, key.file);
  bindText(statement, 2, key.supplier);
  sqlite3_bind_int64(statement, 3, item.lot);
  sqlite3_bind_int64(statement, 4, item.item);
  bindText(statement, 5, item.brand);
  sqlite3_bind_double(statement, 6, item.quantity);
  sqlite3_bind_double(statement, 7, item.price);
  sqlite3_bind_double(statement, 8, item.total);
  sqlite3_bind_int64(statement, 9, when.toMSecsSinceEpoch());
  const int rc = sqlite3_step(statement);
  sqlite3_reset(statement);
  return rc == SQLITE_DONE;
}

std::optional<RecoveredProposals> RecoveryRecord::find(const RecoveryKey& key) {
  if (!db_) return std::nullopt;
  Statement statement(db_->handle, kFind);
  if (!statement) return std::nullopt;
  bindText(statement.get(), 1, key.file);
  bindText(statement.get(), 2, key.supplier);
  RecoveredProposals found;
  qint64 latest = 0;
  int rc = SQLITE_ROW;
  while ((rc = sqlite3_step(statement.get())) == SQLITE_ROW) {
    sqlite3_stmt* row = statement.get();
    RecoveredItem item;
    item.lot = sqlite3_column_int64(row, 0);
    item.item = sqlite3_column_int64(row, 1);
    item.brand = QString::fromUtf8(reinterpret_cast<const char*>(sqlite3_column_text(row, 2)),
                                   sqlite3_column_bytes(row, 2));
    item.quantity = sqlite3_column_double(row, 3);
    item.price = sqlite3_column_double(row, 4);
    item.total = sqlite3_column_double(row, 5);
    latest = std::max(latest, static_cast<qint64>(sqlite3_column_int64(row, 6)));
    found.items.push_back(std::move(item));
  }
  if (rc != SQLITE_DONE || found.items.empty()) return std::nullopt;
  found.lastSaved = QDateTime::fromMSecsSinceEpoch(latest);
  return found;
}

bool RecoveryRecord::remove(const RecoveryKey& key) {
  if (!db_) return false;
  Statement statement(db_->handle, kRemove);
  if (!statement) return false;
  bindText(statement.get(), 1, key.file);
  bindText(statement.get(), 2, key.supplier);
  return sqlite3_step(statement.get()) == SQLITE_DONE;
}

}  // namespace proposals
