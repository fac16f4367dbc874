#pragma once
// "Plantation Information", the first page of the "Initialize Stand" sheet: title, rotation, the existing or
// new stand, drainage, hardwoods and one output target. The page's members are the values a simulation
// document remembers between two openings (PlantationPageMembers, in their order).

#include "dialogs/dialog_form.h"
#include "model/input_pages.h"

#include <functional>

namespace grovex {

class CGROVEXDoc;

// Control ids of the page.
namespace plantation {
inline constexpr int kTitle = 1003;
inline constexpr int kRotation = 1005;
inline constexpr int kStandExists = 1006;
inline constexpr int kTreeListExists = 1007;
inline constexpr int kSiteIndex = 1008;
inline constexpr int kTreesSurviving = 1009;
inline constexpr int kExistingAge = 1010;
inline constexpr int kBasalArea = 1011;
inline constexpr int kTreesPlanted = 1012;
inline constexpr int kPoorlyDrained = 1013;
inline constexpr int kPercentSurvival = 1014;
inline constexpr int kHardwood = 1016;
// The output target boxes 1026 to 1032: age, basal area, quadratic mean DBH, dominant height, merchantable
// cord volume, average crown ratio, relative spacing (criteria 1 to 7).
inline constexpr int kFirstTarget = 1026;
inline constexpr int kTargetCount = 7;
inline constexpr int kBrowse = 1093;

inline constexpr int kTitleLimit = 79;
inline constexpr int kTreesSurvivingMax = 2000; // the check and its message

// What a page never filled in proposes: the command line's defaults, a bare-land plantation grown to age 25.
inline constexpr const char* kProposedRotation = "60";
inline constexpr const char* kProposedSiteIndex = "60";
inline constexpr const char* kProposedTreesPlanted = "800";
inline constexpr const char* kProposedSurvival = "90";
inline constexpr const char* kProposedTargetAge = "25";
} // namespace plantation

class generalInfoDlg : public PropertyPageForm, public PlantationPageMembers {
public:
    // Loads a tree list file through the tree list window; answers whether a tree list is loaded afterwards.
    using BrowseAction = std::function<bool()>;

    // `activeDocument` is the simulation document whose current stand bounds the output targets; without one
    // (nullptr) the bounds of a document that has never held a stand apply.
    explicit generalInfoDlg(const CGROVEXDoc* activeDocument = nullptr);

    std::string caption() const override { return "Plantation Information"; }

    void setActiveDocument(const CGROVEXDoc* document) { activeDocument_ = document; }
    void setBrowseAction(BrowseAction action) { browse_ = std::move(action); }

    // The members as a document remembers them, and back (call restore before OnInitDialog).
    PlantationPageMembers members() const { return *this; }
    void restore(const PlantationPageMembers& remembered) { static_cast<PlantationPageMembers&>(*this) = remembered; }

    void OnInitDialog() override;
    // 1006, 1007 and text changes of 1010 rerun the enabling rule; 1093 runs Browse.
    void OnControlChanged(int id) override;
    // Browse: runs the owner's action, checks 1007 when a tree list is loaded, reruns the enabling rule.
    void OnBrowse();
    // The enabling rule after a click on 1006 or 1007 or a change of the age text.
    void EnableControls();

    FormResult UpdateData() override;
    FormResult OnApply() override;

private:
    FormResult checkTarget(int criterion, const std::string& text, int32_t minTargetAge);

    const CGROVEXDoc* activeDocument_;
    BrowseAction browse_;
};

} // namespace grovex
