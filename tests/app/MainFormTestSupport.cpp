#include "MainFormTestSupport.h"

#include <QFile>
#include <gtest/gtest.h>

namespace nvx::test {

std::string ConfigFolder::read(const QString& name) const
{
    QFile f(file(name));
    if (!f.open(QIODevice::ReadOnly))
        return {};
    return f.readAll().toStdString();
}

void ConfigFolder::write(const QString& name, const std::string& bytes) const
{
    QFile f(file(name));
    ASSERT_TRUE(f.open(QIODevice::WriteOnly));
    f.write(bytes.data(), static_cast<qint64>(bytes.size()));
}

}  // namespace nvx::test
