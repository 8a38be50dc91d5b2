#pragma once

#include <QObject>

class Config;

// Creates and owns, for the whole run, the one Config.
class AppDelegate final : public QObject {
    Q_OBJECT

public:
    explicit AppDelegate(QObject* parent = nullptr);
    ~AppDelegate() override;
    Q_DISABLE_COPY_MOVE(AppDelegate)

    Config* config() const { return m_config; }

private:
    Config* m_config = nullptr;
};
