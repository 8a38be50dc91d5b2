#include "app/appdelegate.h"

#include "model/config.h"

AppDelegate::AppDelegate(QObject* parent) : QObject(parent), m_config(new Config(this)) {}

AppDelegate::~AppDelegate() = default;
