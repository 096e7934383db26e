#include "cli/CommandLine.h"

#include <cctype>
#include <filesystem>

#include <algorithm>
#include <cctype>
#include <charconv>
#include <map>

#include "device/FactoryDefaults.h"
#include "device/PageDirectory.h"

namespace nvx::cli {

namespace {

bool AllDigits(const std::string& text)
{
    return !text.empty() &&
           std::all_of(text.begin(), text.end(), [](unsigned char c) { return std::isdigit(c) != 0; });
}

int ParsePageId(const std::string& option, const std::string& text)
{
    int id = 0;
    const auto [end, error] = std::from_chars(text.data(), text.data() + text.size(), id);
    if (!AllDigits(text) || error != std::errc() || end != text.data() + text.size() || id <= 0)
        throw UsageError(option + ": номер страницы должен быть целым положительным числом, а не \"" + text +
                         "\"");
    if (id == page_id::kMotionSensor)
        throw UsageError(option + " " + text + ": для датчика NVX используйте --status или --pet-immunity");
    return id;
}

struct Parser {
    Request request;
    bool actionGiven = false;
    bool phoneGiven = false;
    bool keyGiven = false;

    void SetAction(Action action, const std::string& option)
    {
        if (actionGiven)
            throw UsageError("Укажите одно действие; лишнее: " + option);
        request.action = action;
        actionGiven = true;
    }

    void Flag(const std::string& option)
    {
        if (option == "--modem")
            request.connection.modem = true;
        else if (option == "--list-ports")
            SetAction(Action::ListPorts, option);
        else if (option == "--status")
            SetAction(Action::Status, option);
        else if (option == "--read-all")
            SetAction(Action::ReadAll, option);
        else if (option == "--write-all")
            SetAction(Action::WriteAll, option);
        else if (option == "--verbose")
            request.verbose = true;
        else
            throw UsageError("Неизвестный параметр: " + option);
    }

    void WithValue(const std::string& option, const std::string& value)
    {
        if (option == "--port") {
            request.connection.portText = value;
        } else if (option == "--phone") {
            request.connection.phone = value;
            phoneGiven = true;
        } else if (option == "--master-key") {
            // A panel key has four digits; a shorter number is sent with leading zeros.
            if (!AllDigits(value) || value.size() > 4)
                throw UsageError("--master-key: мастер-ключ — до четырёх цифр, а не \"" + value + "\"");
            request.connection.masterKey = value;
            keyGiven = true;
        } else if (option == "--pet-immunity") {
            if (value != "on" && value != "off")
                throw UsageError("--pet-immunity: укажите on или off, а не \"" + value + "\"");
            SetAction(Action::PetImmunity, option);
            request.petImmune = value == "on";
        } else if (option == "--read-page") {
            SetAction(Action::ReadPage, option);
            request.pageId = ParsePageId(option, value);
        } else if (option == "--write-page") {
            SetAction(Action::WritePage, option);
            request.pageId = ParsePageId(option, value);
        } else if (option == "--save-history") {
            SetAction(Action::SaveHistory, option);
            if (!HistoryFileKind(value))
                throw UsageError("--save-history: файл .txt (текст) или .xls (Excel), а не \"" + value + "\"");
            request.historyFile = value;
        } else if (option == "--profile") {
            if (value.empty())
                throw UsageError("--profile: не указан файл настроек");
            request.profile = value;
        }
    }

    void Check()
    {
        if (!actionGiven)
            throw UsageError("Не указано действие: --list-ports, --status, --pet-immunity, --read-page, "
                             "--write-page, --read-all, --write-all или --save-history");
        if (!request.NeedsDevice()) {
            if (!request.profile.empty())
                throw UsageError("--profile применяется только к чтению и записи страниц");
            return;
        }
        if (PortNameOf(request.connection.portText).empty())
            throw UsageError("Не указан порт: --port ПОРТ");
        if (request.connection.modem && request.connection.phone.empty())
            throw UsageError("Для связи через GSM-модем нужен номер телефона: --phone НОМЕР");
        if (!request.connection.modem && phoneGiven)
            throw UsageError("Номер телефона нужен только при связи через GSM-модем: добавьте --modem");
        if (!keyGiven)
            request.connection.masterKey = kFactoryMasterKey;
        if (!request.profile.empty() && !request.Reads() && !request.Writes())
            throw UsageError("--profile применяется только к чтению и записи страниц");
        // Without a profile the pages hold no settings of the installer, so a write would put
        // empty and default values into the panel.
        if (request.Writes() && request.profile.empty())
            throw UsageError("Для записи нужен файл настроек: --profile ФАЙЛ");
    }
};

const std::map<std::string, bool>& Options()
{
    // Option name → whether it takes a value.
    static const std::map<std::string, bool> options = {
        {"--list-ports", false}, {"--port", true},      {"--modem", false},       {"--phone", true},
        {"--master-key", true},  {"--status", false},   {"--pet-immunity", true}, {"--read-page", true},
        {"--write-page", true},  {"--read-all", false}, {"--write-all", false},   {"--profile", true},
        {"--verbose", false},  {"--save-history", true},
    };
    return options;
}

} // namespace

std::optional<Request> ParseCommandLine(const std::vector<std::string>& arguments)
{
    Parser parser;
    for (std::size_t i = 0; i < arguments.size(); ++i) {
        std::string option = arguments[i];
        if (option == "--help" || option == "-h")
            return std::nullopt;
        std::optional<std::string> value;
        if (const auto equals = option.find('='); option.starts_with("--") && equals != std::string::npos) {
            value = option.substr(equals + 1);
            option.resize(equals);
        }
        const auto known = Options().find(option);
        if (known == Options().end())
            throw UsageError("Неизвестный параметр: " + arguments[i]);
        if (!known->second) {
            if (value)
                throw UsageError("Параметр " + option + " не принимает значения");
            parser.Flag(option);
            continue;
        }
        if (!value) {
            if (i + 1 == arguments.size())
                throw UsageError("Параметру " + option + " нужно значение");
            value = arguments[++i];
        }
        parser.WithValue(option, *value);
    }
    parser.Check();
    return parser.request;
}

std::optional<HistoryFile> HistoryFileKind(const std::string& name)
{
    std::string extension = std::filesystem::path(name).extension().string();
    for (char& c : extension)
        c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
    if (extension == ".txt")
        return HistoryFile::Text;
    if (extension == ".xls")
        return HistoryFile::Workbook;
    return std::nullopt;
}

const char* UsageText()
{
    return R"(Использование:
  nvx-cli --port ПОРТ [--modem --phone НОМЕР] [--master-key КЛЮЧ] ДЕЙСТВИЕ [--profile ФАЙЛ] [--verbose]
  nvx-cli --list-ports

Настройка датчика NVX и панели без окна программы, по тому же протоколу.

Подключение:
  --port ПОРТ            последовательный порт: /dev/ttyUSB0, ttyS0 и т. п.
  --modem                связь через GSM-модем на этом порту (по умолчанию — кабель)
  --phone НОМЕР          номер телефона устройства для GSM-модема
  --master-key КЛЮЧ      мастер-ключ панели, до четырёх цифр (по умолчанию заводской)

Действия (ровно одно):
  --list-ports           показать последовательные порты компьютера (порт не нужен)
  --status               датчик: показать версию и состояние защиты от животных
  --pet-immunity on|off  датчик: включить или выключить защиту от животных до 10 кг
  --read-page ID         панель: прочитать страницу настроек с номером ID
  --write-page ID        панель: записать страницу ID из файла настроек
  --read-all             панель: прочитать все страницы
  --write-all            панель: записать все страницы из файла настроек
  --save-history ФАЙЛ    панель: прочитать всю историю событий в файл .txt или .xls

Прочее:
  --profile ФАЙЛ         файл настроек (.ini), как в окне программы («Сохранить»/«Загрузить»):
                         при записи страницы берутся из него (обязательно),
                         при чтении прочитанное сохраняется в него
  --verbose              выводить журнал обмена с устройством
  --help                 эта справка

Результат выводится в стандартный вывод, ход работы и ошибки — в поток ошибок.

Коды завершения:
  0  успешно
  2  ошибка в командной строке, номере страницы или файле настроек
  3  не удалось открыть порт или подключиться к устройству
  4  подключено устройство не того типа
  5  ошибка чтения или записи, операция прервана или результат не сохранён
)";
}

} // namespace nvx::cli
