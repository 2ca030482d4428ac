// The API server component's start-up registration. It is built as an object
// library, so a program that links it keeps it although nothing calls it.

#include "components/apiserver.h"
#include "components/component.h"

namespace components::apiserver {
namespace {

const component::ComponentStartupRegistration kRegistration{{&kApiserverComponent}};

}  // namespace
}  // namespace components::apiserver
