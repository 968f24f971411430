#pragma once

#include <ctime>
#include <optional>
#include <string>

// Sets an environment variable for this process and the ones it starts; null removes it.
void SetEnv(const char* name, const char* value);

// Gives a variable a value for the object's life and then puts back what was there.
class ScopedEnv {
public:
    explicit ScopedEnv(const char* name, const char* value);
    ~ScopedEnv() { Restore(); }
    ScopedEnv(const ScopedEnv&) = delete;
    ScopedEnv& operator=(const ScopedEnv&) = delete;

    void Set(const char* value) { SetEnv(name_, value); }
    void Restore() { Set(saved_ ? saved_->c_str() : nullptr); }

private:
    const char* name_;
    std::optional<std::string> saved_;
};

// The zone for the object's life; the C library reads TZ again at each change.
struct TimeZone : ScopedEnv {
    explicit TimeZone(const char* zone) : ScopedEnv("TZ", zone) { tzset(); }
    ~TimeZone() {
        Restore();
        tzset();
    }
};
