// Runtime calls failing on the listing paths: the listing's result and no
// cursor when the statement cannot run; the fetch's code and the command's
// text taken over by the cursor; the routine type query failing in the
// procedure-parameter expansion. Under the sanitizers these also show that
// nothing leaks or crashes on any of these paths.
#include <gtest/gtest.h>

#include <ostream>
#include <string>
#include <vector>

#include "catalogue_fixture.h"

using namespace quovex;

namespace {

enum class Listing { Objects, Databases, Tables, Columns, Parameters, Indexes };

struct ListingFault {
  const char* name;
  Listing listing;
  IfxRole role;
  ResultCode result;
};

const ListingFault kListingFaults[] = {
    {"TablesPrepare", Listing::Tables, IFX_ROLE_PREPARE, RESULT_CLIENT_ERROR},
    {"DatabasesPrepare", Listing::Databases, IFX_ROLE_PREPARE, RESULT_NOT_SUPPORTED},
    {"ObjectsPrepare", Listing::Objects, IFX_ROLE_PREPARE, RESULT_CLIENT_ERROR},
    {"ColumnsDescribe", Listing::Columns, IFX_ROLE_DESCRIBE, RESULT_CLIENT_ERROR},
    {"IndexesDeclare", Listing::Indexes, IFX_ROLE_DECLARE_CURSOR, RESULT_CLIENT_ERROR},
    {"ParametersOpen", Listing::Parameters, IFX_ROLE_OPEN_CURSOR, RESULT_CLIENT_ERROR},
};

void PrintTo(const ListingFault& fault, std::ostream* out) { *out << fault.name; }

class CatalogueFaults : public CatalogueTest, public ::testing::WithParamInterface<ListingFault> {
 protected:
  ResultCode list(Listing listing, void** cursor) const {
    switch (listing) {
      case Listing::Objects: return metadata_.listObjects(5, cursor);
      case Listing::Databases: return metadata_.listObjects(0, cursor);
      case Listing::Tables: return metadata_.listTables("", 1, cursor);
      case Listing::Columns: return metadata_.listColumns("clientes", "", 0, cursor);
      case Listing::Parameters: return metadata_.listProcedureParameters("", "", cursor);
      case Listing::Indexes: return metadata_.listIndexes("pedidos", 0, cursor);
    }
    return RESULT_OK;
  }
};

TEST_P(CatalogueFaults, NoCursorWhenTheStatementCannotRun) {
  const ListingFault& fault = GetParam();
  ifxrtFailCall(fault.role, 1, -201, 0);
  void* none = nullptr;
  EXPECT_EQ(list(fault.listing, &none), fault.result);
  EXPECT_EQ(none, nullptr);
  std::int16_t length = -1;
  EXPECT_EQ(metadata_.errorMessageLength(&length), RESULT_OK);
  EXPECT_EQ(length, 0) << "the metadata object keeps no text of its own";
  ifxrtClearFaults();
  host::Cursor cursor = listed([&](void** out) { return list(fault.listing, out); });
  EXPECT_FALSE(rows(cursor).empty()) << "the next listing runs";
}

INSTANTIATE_TEST_SUITE_P(EachStep, CatalogueFaults, ::testing::ValuesIn(kListingFaults),
                         [](const ::testing::TestParamInfo<ListingFault>& info) { return std::string(info.param.name); });

TEST_F(CatalogueTest, FailedFetchTakesOverTheCommandsText) {
  host::Cursor cursor = listed([&](void** out) { return metadata_.listTables("", 1, out); });
  ASSERT_EQ(cursor.fetchNext(), RESULT_OK);
  ifxrtFailCall(IFX_ROLE_FETCH, 1, -244, -107);
  EXPECT_NE(cursor.fetchNext(), RESULT_OK);
  std::int16_t length = 0;
  ASSERT_EQ(cursor.errorMessageLength(&length), RESULT_OK);
  std::string text(static_cast<std::size_t>(length) + 1, '\0');
  ASSERT_EQ(cursor.errorMessage(text.data()), RESULT_OK);
  text.resize(static_cast<std::size_t>(length));
  EXPECT_EQ(text, "Could not do a physical-order read to fetch next row.");
  std::int32_t recno = 0;
  std::int32_t isNull = 0;
  EXPECT_EQ(cursor.readLong(1, &recno, &isNull), RESULT_OK);
  EXPECT_EQ(recno, 2) << "a failed fetch is counted too";
  // The listing's failure is not the connection's: nothing reaches its text.
  EXPECT_EQ(connection_.errorText(), "");
}

// When the type query of a procedure fails, that procedure shows no
// parameters and is passed over; the listing goes on.
TEST_F(CatalogueTest, TypeQueryFailuresInTheParameterListing) {
  struct Case {
    const char* name;
    IfxRole role;
    std::vector<std::string> procedures;
  };
  const Case kCases[] = {
      {"select", IFX_ROLE_SELECT_INTO, {"pedidos_de", "pedidos_de"}},
      {"output area", IFX_ROLE_OUTPUT_AREA, {"pedidos_de", "pedidos_de"}},
      {"return text", IFX_ROLE_VARTEXT_NEW, {"aumenta_saldo", "aumenta_saldo", "pedidos_de", "pedidos_de"}},
      {"parameter text", IFX_ROLE_VARTEXT_DATA, {"aumenta_saldo", "aumenta_saldo", "pedidos_de", "pedidos_de"}},
  };
  for (const Case& c : kCases) {
    SCOPED_TRACE(c.name);
    ifxrtFailCall(c.role, 1, -208, 0);
    host::Cursor cursor = listed([&](void** out) { return metadata_.listProcedureParameters("", "", out); });
    ResultCode end = RESULT_OK;
    EXPECT_EQ(column(rows(cursor, &end), 4), c.procedures);
    EXPECT_EQ(end, RESULT_NO_MORE_ROWS);
    ifxrtClearFaults();
  }
}

TEST_F(CatalogueTest, ListingsNeedAConnection) {
  host::Connection idle = connection();
  host::MetaData metadata;
  ASSERT_EQ(idle.createMetaData(&metadata.self), RESULT_OK);
  void* none = nullptr;
  EXPECT_EQ(metadata.listTables("", 1, &none), RESULT_INVALID_HANDLE);
  EXPECT_EQ(metadata.listProcedureParameters("", "", &none), RESULT_INVALID_HANDLE);
  EXPECT_EQ(none, nullptr);
  EXPECT_EQ(metadata.release(), 0);
}

}  // namespace
