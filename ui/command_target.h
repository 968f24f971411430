#pragma once

// Something that handles commands. Menus, the toolbar, accelerators and popup menus all end
// in OnCommand; menus (when they open) and toolbar buttons (on idle) ask QueryCommand for
// their enabled and checked state.
struct CommandState {
    bool enabled = true;
    bool checked = false;
};

class CommandTarget {
public:
    virtual ~CommandTarget() = default;
    // True when this target handled the command.
    virtual bool OnCommand(int id) = 0;
    // True when this target knows the command; it then fills the state.
    virtual bool QueryCommand(int id, CommandState& state) = 0;
};
