#pragma once
// Counts the fragments the driver shades, exactly, with GL_ARB_pipeline_statistics_query
// (fragment-shader invocations): a figure of the picture's cost that no other load on
// the machine moves, and that grows when overdraw creeps in.
#include <cstdint>

class FragmentCounter {
public:
    // Needs a current context; Available() is false when the driver lacks the query.
    FragmentCounter();
    ~FragmentCounter();
    FragmentCounter(const FragmentCounter&) = delete;
    FragmentCounter& operator=(const FragmentCounter&) = delete;

    bool Available() const { return m_query != 0; }

    // Around one frame's drawing. End waits for the frame and adds its count to Total.
    void Begin();
    void End();
    std::uint64_t Total() const { return m_total; }

private:
    unsigned m_query = 0;
    std::uint64_t m_total = 0;
};
