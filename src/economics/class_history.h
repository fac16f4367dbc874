#pragma once
// The stand of every year of a run, kept as the stock tables would show it rather than as a value, so that
// the run can be valued again with other prices without projecting it again. The desktop keeps one for each
// simulation for as long as the simulation is open; a copy of it is a checkpoint to return to.

#include "economics/valuation.h"

#include <vector>

namespace grovex::economics {

class ClassHistory : public StandObserver {
public:
    struct Stand {
        int age = 0;
        bool thinnedCoefficients = false; // the volume equations of a low-thinned stand
        std::vector<ClassRow> rows;
    };

    void standAtAge(const GrowthModel& model) override;

    const std::vector<Stand>& stands() const { return stands_; }
    const std::vector<Fertilization>& fertilizations() const { return fertilizations_; }
    // The live stand's worth at every recorded age.
    std::vector<RunRecorder::AgeValue> values(const Prices& prices) const;

    // Forgets everything: the next stand reported starts a run.
    void clear();

private:
    std::vector<Stand> stands_;
    std::vector<Fertilization> fertilizations_;
};

} // namespace grovex::economics
