#pragma once
// Products joining a show: a library product's chain, or the effect a description makes,
// put into the project's device list under codes the list does not use, as one undoable
// edit named after the product.

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "model/user_dialogs.h"
#include "project/show_project.h"
#include "util/result.h"

namespace orvane {

// Added products take the lowest free codes from here up.
inline constexpr int32_t kAddedProductFirstCode = 1000;

// The chain (root first, linked among itself) under free codes; the root's new code, or
// the failure with nothing added.
Result<int32_t> AddProductChain(ShowProject& project, const std::string& name, std::vector<TBaseDevice> chain,
                                UserDialogs& dialogs);

// "100mm gold willow" made, measured and added with its products.csv row, as one edit; the
// refusal names the word it could not place.
Result<int32_t> AddEffectFromDescription(ShowProject& project, std::string_view description, UserDialogs& dialogs);

// "New effect from description...": asks for a description, shows why one does not read and
// asks again with it (until a description reads or the user cancels), and adds its product.
// The root's code; nothing when cancelled.
std::optional<int32_t> AskForNewEffect(ShowProject& project, UserDialogs& dialogs);

}  // namespace orvane
