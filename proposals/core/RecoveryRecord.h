// RecoveryRecord: the record of proposals stored by "Gravar" but not yet
// written by "Encerrar", kept in a small SQLite database in the user's data
// folder so that closing by accident, a crash or a kill loses none of them
// (a power cut may lose the last few). Qt Core and SQLite only, no widgets.
//
// One database file holds the records of every opened file and supplier:
// one row per item, replaced by each later "Gravar" of the same item. Every
// write is one committed transaction in write-ahead-log mode, so a process
// killed at any point leaves the rows of the completed "Gravar"s.
//
// Nothing here throws and nothing here stops the program: a folder that
// cannot be made or written leaves the record unavailable, and a damaged file
// or a database of another program is renamed aside and a new one started.
// One object per thread.
#pragma once

#include <QDateTime>
#include <QString>

#include <cstdint>
#include <memory>
#include <optional>
#include <vector>

namespace proposals {

// Whose proposals a record holds: the opened file (its full path, process or
// proposals file) and the supplier's number text.
struct RecoveryKey {
  QString file;
  QString supplier;
};

// One item's stored proposal, found by its lot and item number.
struct RecoveredItem {
  std::int64_t lot = 0;
  std::int64_t item = 0;
  QString brand;
  double quantity = 0;
  double price = 0;
  double total = 0;
};

struct RecoveredProposals {
  QDateTime lastSaved;               // local time of the latest "Gravar"
  std::vector<RecoveredItem> items;  // ordered by lot, then item
};

enum class RecoveryState {
  Ready,        // the file is open and takes records
  Unavailable,  // the folder or the file cannot be used; nothing is recorded
};

struct RecoveryOpening {
  RecoveryState state = RecoveryState::Unavailable;
  // The new name of a damaged or foreign file moved aside (empty when none was).
  QString renamedTo;
};

class RecoveryRecord {
 public:
  // The database file in `folder`, made when missing.
  explicit RecoveryRecord(QString folder);
  ~RecoveryRecord();
  RecoveryRecord(const RecoveryRecord&) = delete;
  RecoveryRecord& operator=(const RecoveryRecord&) = delete;

  // The user's data folder of this program (QStandardPaths::AppDataLocation,
  // from XDG_DATA_HOME or HOME).
  static QString defaultFolder();
  // The database's file name inside the folder.
  static QString fileName();
  QString filePath() const;

  // Opens the file, making folder and file when missing. A file that is not
  // a database of this program, or a damaged one, is renamed aside (with its
  // journal files) and a new one is made. Opening again while open does
  // nothing and answers Ready.
  RecoveryOpening open();
  bool isOpen() const;

  // Records (or replaces) one item's proposal, saved at `when`. False when it
  // could not be written; the record then stays as it was.
  bool save(const RecoveryKey& key, const RecoveredItem& item, const QDateTime& when);
  // The proposals recorded for `key`, or nothing when there are none (or the
  // record is not open).
  std::optional<RecoveredProposals> find(const RecoveryKey& key);
  // Removes every proposal recorded for `key`. False when it could not.
  bool remove(const RecoveryKey& key);

 private:
  struct Database;
  QString folder_;
  std::unique_ptr<Database> db_;
};

}  // namespace proposals
