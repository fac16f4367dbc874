#include "batch/stand_search.h"

namespace grovex::batch {
namespace {

StandOptions withAgeTarget(StandOptions options, const std::string& age) {
    options.targets = {};
    options.targets[0] = age;
    return options;
}

} // namespace

std::optional<StandRefusal> searchStand(const StandOptions& options, const FieldNamer& name, const TreeList* trees,
                                        economics::SearchStand& stand) {
    bool isDefault = false;
    const std::string rotation = fieldText(options, StandField::Rotation, isDefault);
    ProjectInput accepted;
    if (auto refused = standInput(withAgeTarget(options, rotation), name, accepted)) {
        return refused;
    }
    stand.input = accepted.input;
    stand.treeList = trees;
    stand.withTargetAge = [options, name](int age, Input1& input) -> std::optional<std::string> {
        ProjectInput withTarget;
        if (auto refused = standInput(withAgeTarget(options, std::to_string(age)), name, withTarget)) {
            return refused->message;
        }
        input = withTarget.input;
        return std::nullopt;
    };
    return std::nullopt;
}

} // namespace grovex::batch
