#include "client_roles.h"

namespace quovex::inf {
namespace {

constexpr ClientRoles kRuntimeRoles = {
    &clientStatusCode, &clientStatusArea, &clientMakeLogin,   &clientFreeLogin,  &clientConnect,
    &clientSetConnection, &clientDisconnect, &clientBeginWork, &clientCommitWork, &clientRollbackWork,
    &clientExecuteText, &clientClearBuffer, &clientExecuteFixed, &clientMessageText,
    // statements and cursors
    &clientFindStatement, &clientPrepare, &clientDescribe, &clientExecute, &clientDeclareCursor,
    &clientOpenCursor, &clientFetch, &clientCloseCursor, &clientFree, &clientFreeDescriptor,
    // value conversions
    &clientTextToDecimal, &clientDecimalToText, &clientTextToDatetime, &clientExtendDatetime,
    &clientDatetimeToText, &clientDateToTriple, &clientTripleToDate,
    // large objects
    &clientLobSpec, &clientLobSpecSetType, &clientLobFreeSpec, &clientLobCreate, &clientLobOpen,
    &clientLobWrite, &clientLobRead, &clientLobStat, &clientLobSize, &clientLobClose,
    // one-row queries and variable-length texts
    &clientInputArea, &clientOutputArea, &clientBindInput, &clientBindOutput, &clientSelectInto,
    &clientVarTextNew, &clientVarTextFree, &clientVarTextIsNull, &clientVarTextData, &clientVarTextLength,
};

// Filled by the loader's relocations when the library loads.
ClientRoles boundRoles = kRuntimeRoles;

}  // namespace

const ClientRoles& runtimeClientRoles() { return kRuntimeRoles; }

const ClientRoles& clientRoles() { return boundRoles; }

void bindClientRoles(const ClientRoles& roles) { boundRoles = roles; }

}  // namespace quovex::inf

namespace quovex::inf {

std::int32_t startClientLibrary(const char* /*first*/, const char* /*second*/) { return 0; }

void stopClientLibrary() {}

}  // namespace quovex::inf
